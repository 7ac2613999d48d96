// The Windows console: the tool writes cells straight into the screen buffer
// and reads key events from the console keyboard ("CONIN$"). When standard
// output is no console, the texts go out as a plain transcript on it instead;
// when standard input is no console (or the texts go out as a transcript),
// typed lines are read from standard input.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"
#include "text/marked_input.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

// The cursor set up when the console reports none: visible, a tenth of a cell.
constexpr DWORD kFallbackCursorSize = 10;
constexpr char16_t kBlank = u' ';
constexpr DWORD kKeyWaitMilliseconds = 1;
constexpr char16_t kEnter = 13;
constexpr DWORD kLineReadUnits = 4096;
constexpr char kLineEnd[] = "\r\n";

enum class InputKind {
  kKeys,          // key events from the console keyboard, raw
  kConsoleLines,  // whole lines from a console in its line mode (it echoes them)
  kStreamLines,   // bytes from a file or pipe, in the ANSI code page
};

struct ConsoleState {
  HANDLE output = INVALID_HANDLE_VALUE;  // the screen buffer the tool writes into
  win32::OwnedHandle keyboard;           // "CONIN$", open for reading
  CONSOLE_CURSOR_INFO cursor{};          // the shape found at preparation
  OutputKind outputKind = OutputKind::kScreen;
  InputKind inputKind = InputKind::kKeys;
  std::deque<char16_t> typed;  // characters of lines read but not handed out
  text::MarkedInput marked;    // stream bytes read, their byte-order mark (if any) dropped
  std::string partialBytes;    // stream text of a line not yet complete
  bool inputEnded = false;
  bool prepared = false;
};

ConsoleState& State() {
  static ConsoleState state;
  return state;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != FALSE;
}

// The file to remove when the console closes, or the session ends, first.
std::wstring& AbnormalEndFile() {
  static std::wstring name;
  return name;
}

// Ctrl+C, Ctrl+Break and closing the window are taken as handled, so neither
// key ends the run. The system ends the process after a close, log-off or
// shut-down all the same: the run's temporary report goes first.
BOOL WINAPI KeepRunning(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      if (!AbnormalEndFile().empty()) DeleteFileW(AbnormalEndFile().c_str());
      return event == CTRL_CLOSE_EVENT ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

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

// ---- Plain transcript and standard streams ----------------------------------------------

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

void WriteBytesTo(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return;
    bytes.remove_prefix(written);
  }
}

// Text for a standard stream: characters into a console, ANSI code page bytes
// into a file or pipe.
void WriteTextTo(HANDLE handle, std::u16string_view text) {
  if (!IsUsable(handle) || text.empty()) return;
  if (IsConsole(handle)) {
    const std::wstring wide = win32::ToWide(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  WriteBytesTo(handle, WideToAnsi(text));
}

void EndLineOn(HANDLE handle) {
  if (!IsUsable(handle)) return;
  if (IsConsole(handle)) {
    DWORD written = 0;
    WriteConsoleW(handle, L"\r\n", 2, &written, nullptr);
    return;
  }
  WriteBytesTo(handle, kLineEnd);
}

std::optional<LONGLONG> Position(HANDLE handle) {
  LARGE_INTEGER here{};
  if (!SetFilePointerEx(handle, LARGE_INTEGER{}, &here, FILE_CURRENT)) return std::nullopt;
  return here.QuadPart;
}

// True when standard error writes into the disk file that standard output
// has just written a line to (as after "> log.txt 2>&1"): a light red line
// then goes there once. The file's identity needs a handle that may read
// attributes, which a redirection's handle may lack; two handles of one
// redirection share their position, which two files written apart almost
// never do at the very same place.
bool SameDiskFile(HANDLE output, HANDLE error) {
  if (!IsUsable(output) || !IsUsable(error)) return false;
  if (output == error) return true;
  if (GetFileType(output) != FILE_TYPE_DISK || GetFileType(error) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (GetFileInformationByHandle(output, &a) && GetFileInformationByHandle(error, &b)) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
  }
  const auto outputAt = Position(output);
  return outputAt && *outputAt > 0 && outputAt == Position(error);
}

// ---- Typed lines from standard input ------------------------------------------------------

// Reads more of standard input into the typed characters; false at its end.
bool ReadMoreLines(ConsoleState& state) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsUsable(input)) return false;
  if (state.inputKind == InputKind::kConsoleLines) {
    wchar_t units[kLineReadUnits];
    for (;;) {
      DWORD got = 0;
      if (!ReadConsoleW(input, units, kLineReadUnits, &got, nullptr)) return false;
      // Ctrl+C during a line read ends the read with nothing: read again.
      if (got == 0) continue;
      state.typed.insert(state.typed.end(), units, units + got);
      return true;
    }
  }
  char bytes[kLineReadUnits];
  DWORD got = 0;
  const win32::CriticalErrorsOff quiet;
  // Marked text is UTF-8 by then; unmarked bytes are in the ANSI code page.
  const auto toWide = [&state](std::string_view text) {
    return state.marked.IsUtf8() ? text::Utf8ToUtf16(text) : AnsiToWide(text);
  };
  if (!ReadFile(input, bytes, sizeof(bytes), &got, nullptr) || got == 0) {
    // The end: whatever stands after the last line end is the last line.
    state.marked.End();
    state.partialBytes += state.marked.Drain();
    const std::u16string rest = toWide(state.partialBytes);
    state.typed.insert(state.typed.end(), rest.begin(), rest.end());
    state.partialBytes.clear();
    return !rest.empty();
  }
  // Whole lines only are converted, so that no character of a multi-byte
  // code page is split.
  state.marked.Take(std::string_view(bytes, got));
  state.partialBytes += state.marked.Drain();
  const auto lastEnd = state.partialBytes.find_last_of("\r\n");
  if (lastEnd != std::string::npos) {
    const std::u16string lines = toWide(std::string_view(state.partialBytes).substr(0, lastEnd + 1));
    state.typed.insert(state.typed.end(), lines.begin(), lines.end());
    state.partialBytes.erase(0, lastEnd + 1);
  }
  return true;
}

KeyEvent PressedKey(char16_t character) {
  KeyEvent event;
  event.pressed = true;
  event.character = character;
  return event;
}

// The characters of the typed lines, each line ended by Enter (CR LF, CR and
// LF alike); at the end of the input, Enter for every further read.
KeyEvent NextLineKey(ConsoleState& state) {
  while (state.typed.empty() && !state.inputEnded) {
    if (!ReadMoreLines(state)) state.inputEnded = true;
  }
  if (state.typed.empty()) return PressedKey(kEnter);
  const char16_t unit = state.typed.front();
  state.typed.pop_front();
  if (unit == u'\r') {
    if (state.typed.empty() && !state.inputEnded && !ReadMoreLines(state)) state.inputEnded = true;
    if (!state.typed.empty() && state.typed.front() == u'\n') state.typed.pop_front();
    return PressedKey(kEnter);
  }
  if (unit == u'\n') return PressedKey(kEnter);
  return PressedKey(unit);
}

}  // namespace

OutputKind PrepareConsole() {
  ConsoleState& state = State();
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

  SetConsoleCtrlHandler(KeepRunning, TRUE);
  if (state.outputKind == OutputKind::kScreen) TakeCursorShape(state);
  return state.outputKind;
}

void WriteTranscriptText(std::u16string_view text) {
  WriteTextTo(GetStdHandle(STD_OUTPUT_HANDLE), text);
}

void EndTranscriptLine() { EndLineOn(GetStdHandle(STD_OUTPUT_HANDLE)); }

void WriteErrorLine(std::u16string_view text) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (State().outputKind == OutputKind::kTranscript && SameDiskFile(error, GetStdHandle(STD_OUTPUT_HANDLE))) {
    return;  // the transcript has it already
  }
  WriteTextTo(error, text);
  EndLineOn(error);
}

void ShowPromptToTypist(std::u16string_view prompt) {
  // The transcript goes to a file or pipe; the console that reads the line
  // shows the prompt through standard error, when that is the console.
  if (State().inputKind != InputKind::kConsoleLines) return;
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(error)) WriteTextTo(error, prompt);
}

bool TypingShowsOnTranscript() { return false; }

void RemoveAtAbnormalEnd(std::u16string_view path) { AbnormalEndFile() = win32::ToWide(path); }

void RestoreConsole() { State().keyboard.Reset(); }

std::optional<ScreenInfo> ReadScreenInfo() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(State().output, &info)) return std::nullopt;
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
  return WriteConsoleOutputW(State().output, row.data(), Cell(static_cast<int>(cells.size()), 1),
                             Cell(0, 0), &target) != FALSE;
}

bool ScrollUpOneRow(std::uint16_t fillAttribute) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(State().output, &info)) return false;
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
  return ScrollConsoleScreenBufferW(State().output, &moved, nullptr, destination, &fill) != FALSE;
}

bool PlaceCursor(int x, int y) { return SetConsoleCursorPosition(State().output, Cell(x, y)) != FALSE; }

bool SetCurrentAttribute(std::uint16_t attribute) {
  return SetConsoleTextAttribute(State().output, attribute) != FALSE;
}

std::optional<CursorShape> ReadCursorShape() {
  CONSOLE_CURSOR_INFO info{};
  if (!UsableCursor(State().output, info)) {
    if (State().cursor.dwSize == 0) return std::nullopt;
    info = State().cursor;
  }
  return CursorShape{static_cast<int>(info.dwSize), info.bVisible != FALSE};
}

bool SetCursorShape(CursorShape shape) {
  CONSOLE_CURSOR_INFO info{};
  info.dwSize = static_cast<DWORD>(shape.sizePercent > 0 ? shape.sizePercent : kFallbackCursorSize);
  info.bVisible = shape.visible ? TRUE : FALSE;
  return SetConsoleCursorInfo(State().output, &info) != FALSE;
}

std::optional<KeyEvent> NextKeyEvent() {
  if (State().inputKind != InputKind::kKeys) return NextLineKey(State());
  const HANDLE keyboard = State().keyboard.Get();
  if (!State().keyboard.IsOpen()) return std::nullopt;
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
