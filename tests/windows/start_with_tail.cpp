// Test helper for the shared end-to-end suite under Wine: starts a program
// with an exact command tail, in this console, and reports what it left on
// the clipboard.
//   start_with_tail PROGRAM HEX_TAIL [CLIPBOARD_FILE]
// HEX_TAIL is the tail's UTF-8 bytes in hexadecimal, so that no quoting rule
// of Wine or of an interpreter touches it; the program's command line is the
// quoted program path, a blank, then the tail. The clipboard is emptied
// first; afterwards its text (if any) is written as UTF-8 to CLIPBOARD_FILE.
// Ends with the program's exit code, or kCannotStart.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kCannotStart = 125;
constexpr int kHexBase = 16;

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), units);
  return out;
}

std::string Utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  out.pop_back();  // the terminator
  return out;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, kHexBase));
  }
  return bytes;
}

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

void SaveClipboardText(const char* path) {
  if (!OpenClipboard(nullptr)) return;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      const std::string utf8 = Utf8(text);
      GlobalUnlock(data);
      if (FILE* file = std::fopen(path, "wb")) {
        std::fwrite(utf8.data(), 1, utf8.size(), file);
        std::fclose(file);
      }
    }
  }
  CloseClipboard();
}

int Run(const std::wstring& program, const std::wstring& tail) {
  std::wstring commandLine = L"\"" + program + L"\" " + tail;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return kCannotStart;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = kCannotStart;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return kCannotStart;
  EmptyTheClipboard();
  const int code = Run(Wide(argv[1]), Wide(FromHex(argv[2])));
  if (argc > 3) SaveClipboardText(argv[3]);
  return code;
}
