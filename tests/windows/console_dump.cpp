// Test helper: writes the console's screen buffer, read back cell by cell with
// ReadConsoleOutputW, into the file named by its first argument. Run in the
// same console right after the tool, it shows exactly which character and
// attribute each cell holds (a terminal's drawing of the screen leaves out
// trailing blanks and cannot show the attributes of blank cells).
// File format (UTF-8, LF line ends):
//   W H cursorX cursorY currentAttribute
//   then per row: the row's characters, and a line of W hex digits pairs
//   (one attribute per cell, two hex digits each)
// Exit codes: 0 done, 1 no console, 2 output file not writable.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kNoConsole = 1;
constexpr int kNotWritable = 2;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                      nullptr);
  return out;
}

std::string Row(const std::vector<CHAR_INFO>& cells) {
  std::wstring text;
  std::string attributes;
  char hex[3];
  for (const CHAR_INFO& cell : cells) {
    text += cell.Char.UnicodeChar;
    std::snprintf(hex, sizeof(hex), "%02x", cell.Attributes & 0xFF);
    attributes += hex;
  }
  return Utf8(text) + "\n" + attributes + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return kNotWritable;
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) return kNoConsole;

  std::string dump = std::to_string(info.dwSize.X) + " " + std::to_string(info.dwSize.Y) + " " +
                     std::to_string(info.dwCursorPosition.X) + " " + std::to_string(info.dwCursorPosition.Y) +
                     " " + std::to_string(info.wAttributes) + "\n";
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(info.dwSize.X));
  for (SHORT y = 0; y < info.dwSize.Y; ++y) {
    SMALL_RECT row{0, y, static_cast<SHORT>(info.dwSize.X - 1), y};
    if (!ReadConsoleOutputW(screen, cells.data(), COORD{info.dwSize.X, 1}, COORD{0, 0}, &row)) return kNoConsole;
    dump += Row(cells);
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return kNotWritable;
  std::fwrite(dump.data(), 1, dump.size(), out);
  std::fclose(out);
  return kDone;
}
