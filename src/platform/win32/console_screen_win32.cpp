#include "platform/win32/console_screen_win32.h"

#include <vector>

namespace sympack::platform::win32 {
namespace {

// The cursor set up when the console reports none: visible, a tenth of a cell.
constexpr DWORD kFallbackCursorSize = 10;
constexpr char16_t kBlank = u' ';

COORD Cell(int x, int y) { return COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}; }

bool UsableCursor(HANDLE handle, CONSOLE_CURSOR_INFO& info) {
  return GetConsoleCursorInfo(handle, &info) && info.dwSize != 0;
}

}  // namespace

void ConsoleScreen::Attach(HANDLE output) {
  output_ = output;
  SetConsoleMode(output_, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
  TakeCursorShape();
}

// The cursor shape comes from the output target, else from standard output;
// when neither tells, a visible cursor of the usual size is set.
void ConsoleScreen::TakeCursorShape() {
  if (UsableCursor(output_, cursor_)) return;
  if (UsableCursor(GetStdHandle(STD_OUTPUT_HANDLE), cursor_)) return;
  cursor_.dwSize = kFallbackCursorSize;
  cursor_.bVisible = TRUE;
  SetConsoleCursorInfo(output_, &cursor_);
}

std::optional<ScreenInfo> ConsoleScreen::Info() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(output_, &info)) return std::nullopt;
  ScreenInfo screen;
  screen.cursorX = info.dwCursorPosition.X;
  screen.cursorY = info.dwCursorPosition.Y;
  screen.width = info.dwSize.X;
  screen.height = info.dwSize.Y;
  return screen;
}

void ConsoleScreen::WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  if (cells.empty()) return;
  std::vector<CHAR_INFO> row(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    row[i].Char.UnicodeChar = static_cast<WCHAR>(cells[i]);
    row[i].Attributes = attribute;
  }
  const int last = x + static_cast<int>(cells.size()) - 1;
  SMALL_RECT target{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(last),
                    static_cast<SHORT>(y)};
  WriteConsoleOutputW(output_, row.data(), Cell(static_cast<int>(cells.size()), 1), Cell(0, 0), &target);
}

void ConsoleScreen::ScrollUp(std::uint16_t fillAttribute) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(output_, &info)) return;
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
  ScrollConsoleScreenBufferW(output_, &moved, nullptr, Cell(0, firstMoved - 1), &fill);
}

void ConsoleScreen::PlaceCursor(int x, int y) { SetConsoleCursorPosition(output_, Cell(x, y)); }

void ConsoleScreen::SetAttribute(std::uint16_t attribute) { SetConsoleTextAttribute(output_, attribute); }

// The shape now, else the one found when attached: a console that cannot
// tell must still get its cursor back as it was.
std::optional<CursorShape> ConsoleScreen::ReadCursorShape() {
  CONSOLE_CURSOR_INFO info{};
  if (!UsableCursor(output_, info)) {
    if (cursor_.dwSize == 0) return std::nullopt;
    info = cursor_;
  }
  return CursorShape{static_cast<int>(info.dwSize), info.bVisible != FALSE};
}

void ConsoleScreen::SetCursorShape(CursorShape shape) {
  CONSOLE_CURSOR_INFO info{};
  info.dwSize = static_cast<DWORD>(shape.sizePercent > 0 ? shape.sizePercent : kFallbackCursorSize);
  info.bVisible = shape.visible ? TRUE : FALSE;
  SetConsoleCursorInfo(output_, &info);
}

}  // namespace sympack::platform::win32
