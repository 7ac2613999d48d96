// The Windows console: its modes, the cells the tool writes straight into the
// screen buffer, and key events from the console keyboard ("CONIN$"). When
// standard output is no console, the texts go out as a plain transcript on it
// instead (transcript_win32.cpp); when standard input is no console (or the
// texts go out as a transcript), typed lines are read from standard input
// (stdin_lines_win32.h).
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/win32/console_state_win32.h"
#include "platform/win32/control_handler_win32.h"
#include "platform/win32/stdin_lines_win32.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {
namespace {

// The cursor set up when the console reports none: visible, a tenth of a cell.
constexpr DWORD kFallbackCursorSize = 10;
constexpr char16_t kBlank = u' ';
constexpr DWORD kKeyWaitMilliseconds = 1;

using win32::ConsoleState;
using win32::InputKind;
using win32::IsConsole;
using win32::TheConsole;

bool UsableCursor(HANDLE handle, CONSOLE_CURSOR_INFO& info) {
  return GetConsoleCursorInfo(handle, &info) && info.dwSize != 0;
}

// The cursor shape comes from the output target, else from standard output;
// when neither tells, a visible cursor of the usual size is set.
void TakeCursorShape(ConsoleState& state) {
  if (UsableCursor(state.output, state.cursor)) return;
  if (UsableCursor(GetStdHandle(STD_OUTPUT_HANDLE), state.cursor)) return;
  state.cursor.dwSize = kFallbackCursorSize;
  state.cursor.bVisible = TRUE;
  SetConsoleCursorInfo(state.output, &state.cursor);
}

win32::OwnedHandle OpenKeyboard() {
  const win32::CriticalErrorsOff quiet;
  return win32::OwnedHandle(
      CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

KeyEvent KeyEventFrom(const INPUT_RECORD& record) {
  KeyEvent event;
  if (record.EventType != KEY_EVENT) return event;  // mouse, focus, menu, size: not a key press
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  event.pressed = key.bKeyDown != FALSE;
  event.character = static_cast<char16_t>(key.uChar.UnicodeChar);
  event.scanCode = key.wVirtualScanCode;
  event.altHeld = (key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
  return event;
}

COORD Cell(int x, int y) { return COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}; }

}  // namespace

win32::ConsoleState& win32::TheConsole() {
  static ConsoleState state;
  return state;
}

OutputKind PrepareConsole() {
  ConsoleState& state = TheConsole();
  if (state.prepared) return state.outputKind;
  state.prepared = true;

  const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE standardInput = GetStdHandle(STD_INPUT_HANDLE);
  state.outputKind = IsConsole(standardOutput) ? OutputKind::kScreen : OutputKind::kTranscript;
  if (state.outputKind == OutputKind::kScreen) {
    state.output = standardOutput;
    SetConsoleMode(state.output, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
  }

  if (!IsConsole(standardInput)) {
    state.inputKind = InputKind::kStreamLines;
  } else if (state.outputKind == OutputKind::kTranscript) {
    // Typing whose echo nobody would see otherwise: the console's own line
    // editing shows it where it is typed.
    state.inputKind = InputKind::kConsoleLines;
    SetConsoleMode(standardInput, ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT);
  } else {
    state.inputKind = InputKind::kKeys;
    state.keyboard = OpenKeyboard();
    // Raw input: no line editing, no echo, and Ctrl+C arrives as a key.
    SetConsoleMode(standardInput, 0);
  }

  win32::HandleControlEvents();
  if (state.outputKind == OutputKind::kScreen) TakeCursorShape(state);
  return state.outputKind;
}

void RestoreConsole() { TheConsole().keyboard.Reset(); }

std::optional<ScreenInfo> ReadScreenInfo() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(TheConsole().output, &info)) return std::nullopt;
  ScreenInfo screen;
  screen.cursorX = info.dwCursorPosition.X;
  screen.cursorY = info.dwCursorPosition.Y;
  screen.width = info.dwSize.X;
  screen.height = info.dwSize.Y;
  return screen;
}

bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  if (cells.empty()) return true;
  std::vector<CHAR_INFO> row(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    row[i].Char.UnicodeChar = static_cast<WCHAR>(cells[i]);
    row[i].Attributes = attribute;
  }
  const int last = x + static_cast<int>(cells.size()) - 1;
  SMALL_RECT target{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(last),
                    static_cast<SHORT>(y)};
  return WriteConsoleOutputW(TheConsole().output, row.data(), Cell(static_cast<int>(cells.size()), 1),
                             Cell(0, 0), &target) != FALSE;
}

bool ScrollUpOneRow(std::uint16_t fillAttribute) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(TheConsole().output, &info)) return false;
  const SHORT right = static_cast<SHORT>(info.dwSize.X - 1);
  const SHORT bottom = static_cast<SHORT>(info.dwSize.Y - 1);
  CHAR_INFO fill{};
  fill.Char.UnicodeChar = kBlank;
  fill.Attributes = fillAttribute;
  // Rows 1..H-1 move to 0..H-2; the bottom row they leave takes the fill.
  // (Wine refuses a destination above the buffer, so only a one-row buffer
  // scrolls its single row out through the top.)
  const SHORT firstMoved = bottom > 0 ? 1 : 0;
  const SMALL_RECT moved{0, firstMoved, right, bottom};
  const COORD destination = Cell(0, firstMoved - 1);
  return ScrollConsoleScreenBufferW(TheConsole().output, &moved, nullptr, destination, &fill) != FALSE;
}

bool PlaceCursor(int x, int y) { return SetConsoleCursorPosition(TheConsole().output, Cell(x, y)) != FALSE; }

bool SetCurrentAttribute(std::uint16_t attribute) {
  return SetConsoleTextAttribute(TheConsole().output, attribute) != FALSE;
}

std::optional<CursorShape> ReadCursorShape() {
  CONSOLE_CURSOR_INFO info{};
  if (!UsableCursor(TheConsole().output, info)) {
    if (TheConsole().cursor.dwSize == 0) return std::nullopt;
    info = TheConsole().cursor;
  }
  return CursorShape{static_cast<int>(info.dwSize), info.bVisible != FALSE};
}

bool SetCursorShape(CursorShape shape) {
  CONSOLE_CURSOR_INFO info{};
  info.dwSize = static_cast<DWORD>(shape.sizePercent > 0 ? shape.sizePercent : kFallbackCursorSize);
  info.bVisible = shape.visible ? TRUE : FALSE;
  return SetConsoleCursorInfo(TheConsole().output, &info) != FALSE;
}

std::optional<KeyEvent> NextKeyEvent() {
  if (TheConsole().inputKind != InputKind::kKeys) {
    return win32::NextStandardInputKey(TheConsole().inputKind == InputKind::kConsoleLines);
  }
  const HANDLE keyboard = TheConsole().keyboard.Get();
  if (!TheConsole().keyboard.IsOpen()) return std::nullopt;
  INPUT_RECORD record{};
  DWORD count = 0;
  for (;;) {
    if (!PeekConsoleInputW(keyboard, &record, 1, &count)) return std::nullopt;
    if (count > 0) break;
    Sleep(kKeyWaitMilliseconds);
  }
  if (!ReadConsoleInputW(keyboard, &record, 1, &count) || count == 0) return std::nullopt;
  return KeyEventFrom(record);
}

}  // namespace sympack::platform
