// The Windows console: the tool writes cells straight into the screen buffer
// and reads key events from the console keyboard ("CONIN$"), never from the
// standard streams.
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {
namespace {

// The cursor set up when the console reports none: visible, a tenth of a cell.
constexpr DWORD kFallbackCursorSize = 10;
constexpr char16_t kBlank = u' ';
constexpr DWORD kKeyWaitMilliseconds = 1;

struct ConsoleState {
  HANDLE output = INVALID_HANDLE_VALUE;  // the screen buffer the tool writes into
  win32::OwnedHandle keyboard;           // "CONIN$", open for reading
  CONSOLE_CURSOR_INFO cursor{};          // the shape found at preparation
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

// Ctrl+C, Ctrl+Break and closing the window are taken as handled, so neither
// key ends the run.
BOOL WINAPI KeepRunning(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      return TRUE;
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

}  // namespace

bool PrepareConsole() {
  ConsoleState& state = State();
  if (state.prepared) return IsConsole(state.output);
  state.prepared = true;

  const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  state.output = IsConsole(standardOutput) ? standardOutput : GetStdHandle(STD_ERROR_HANDLE);
  SetConsoleMode(state.output, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);

  state.keyboard = OpenKeyboard();

  // Raw input: no line editing, no echo, and Ctrl+C arrives as a key.
  const HANDLE standardInput = GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(standardInput)) SetConsoleMode(standardInput, 0);

  SetConsoleCtrlHandler(KeepRunning, TRUE);
  TakeCursorShape(state);
  return IsConsole(state.output);
}

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
