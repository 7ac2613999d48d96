// The Windows console at a run's start and end: its modes, the screen the
// texts go to, and where keys come from. Standard output that is a console
// gets cells (console_screen_win32.h); anything else gets the plain
// transcript (standard_streams_win32.h). Keys come from the console keyboard
// ("CONIN$") only while standard input is that console and the texts go out
// as cells; otherwise typed lines are read from standard input, whatever it
// is (stdin_lines_win32.h).
#include <windows.h>

#include "platform/win32/control_handler_win32.h"
#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

constexpr DWORD kKeyWaitMilliseconds = 1;

OwnedHandle OpenKeyboard() {
  const CriticalErrorsOff quiet;
  return OwnedHandle(CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Scan code ranges of the letter rows on a PC keyboard (Q..P, A..L, Z..M),
// whatever letters the keyboard layout puts on them.
constexpr WORD kTopRowFirst = 0x10, kTopRowLast = 0x19;
constexpr WORD kHomeRowFirst = 0x1E, kHomeRowLast = 0x26;
constexpr WORD kBottomRowFirst = 0x2C, kBottomRowLast = 0x32;

bool IsLetterRowScanCode(WORD scan) {
  return (scan >= kTopRowFirst && scan <= kTopRowLast) ||
         (scan >= kHomeRowFirst && scan <= kHomeRowLast) ||
         (scan >= kBottomRowFirst && scan <= kBottomRowLast);
}

}  // namespace

// With Alt held (AltGr too), the letter-row keys are menu accelerators, not
// typing; Alt with a digit or any other key still types its character.
KeyEvent KeyEventFrom(const INPUT_RECORD& record) {
  KeyEvent event;
  if (record.EventType != KEY_EVENT) return event;  // mouse, focus, menu, size: not a key press
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  event.pressed = key.bKeyDown != FALSE;
  event.character = static_cast<char16_t>(key.uChar.UnicodeChar);
  event.altHeld = (key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
  event.shortcut = event.altHeld && IsLetterRowScanCode(key.wVirtualScanCode);
  return event;
}

void Win32System::PrepareForRun() {
  if (prepared_) return;
  prepared_ = true;
  const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  const bool transcript = !IsConsole(standardOutput);
  if (!transcript) cells_.Attach(standardOutput);
  ChooseInput(transcript);
  if (transcript) {
    streams_ = std::make_unique<StandardStreams>(*this, inputKind_ == InputKind::kConsoleLines);
    // The console's line mode echoes typing where it is typed, never into
    // the transcript's file or pipe: the transcript shows the line itself.
    transcript_ = std::make_unique<console::TranscriptScreen>(*streams_, false);
  }
  HandleControlEvents();
}

void Win32System::ChooseInput(bool transcript) {
  const HANDLE standardInput = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsConsole(standardInput)) {
    inputKind_ = InputKind::kStreamLines;
  } else if (transcript) {
    // Typing whose echo nobody would see otherwise: the console's own line
    // editing shows it where it is typed.
    inputKind_ = InputKind::kConsoleLines;
    SetConsoleMode(standardInput, ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT);
  } else {
    inputKind_ = InputKind::kKeys;
    keyboard_ = OpenKeyboard();
    // Raw input: no line editing, no echo, and Ctrl+C arrives as a key.
    SetConsoleMode(standardInput, 0);
  }
}

void Win32System::RestoreAfterRun() { keyboard_.Reset(); }

console::Screen& Win32System::Screen() {
  if (transcript_) return *transcript_;
  return cells_;
}

std::optional<KeyEvent> Win32System::Next() {
  if (inputKind_ != InputKind::kKeys) return typedLines_.NextKey(inputKind_ == InputKind::kConsoleLines);
  return NextConsoleKey();
}

// Waits, sleeping, for the next console input event and removes it from the
// queue; empty when the keyboard went away.
std::optional<KeyEvent> Win32System::NextConsoleKey() {
  if (!keyboard_.IsOpen()) return std::nullopt;
  INPUT_RECORD record{};
  DWORD count = 0;
  for (;;) {
    if (!PeekConsoleInputW(keyboard_.Get(), &record, 1, &count)) return std::nullopt;
    if (count > 0) break;
    Sleep(kKeyWaitMilliseconds);
  }
  if (!ReadConsoleInputW(keyboard_.Get(), &record, 1, &count) || count == 0) return std::nullopt;
  return KeyEventFrom(record);
}

}  // namespace sympack::platform::win32
