// Test helper for the shared end-to-end suite under Wine: starts a program
// with an exact command tail, in this console, and reports what it left on
// the clipboard.
//   start_with_tail PROGRAM TAIL_FILE CLIPBOARD_FILE
// TAIL_FILE holds the tail as UTF-8, so that no quoting rule of Wine or of an
// interpreter touches it and no length limit of this helper's own command
// line applies; the program's command line is the quoted program path, a
// blank, then the tail. Variables named SYMPACK_E2E_SET_<NAME> are set as
// <NAME> for the program: Wine sets some variables (COMSPEC among them) from
// its registry, over the Unix environment. The clipboard is emptied first;
// afterwards its text (if any) is written as UTF-8 to CLIPBOARD_FILE.
// Ends with the program's exit code, or kCannotStart.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kCannotStart = 125;
constexpr wchar_t kSetPrefix[] = L"SYMPACK_E2E_SET_";

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

std::string ReadWholeFile(const char* path) {
  std::string bytes;
  if (FILE* file = std::fopen(path, "rb")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

// Copies each SYMPACK_E2E_SET_<NAME>=value to <NAME>=value.
void ApplyRequestedVariables() {
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    const std::wstring pair(entry);
    if (pair.rfind(kSetPrefix, 0) != 0) continue;
    const auto equals = pair.find(L'=');
    if (equals == std::wstring::npos) continue;
    const std::wstring name = pair.substr(std::wcslen(kSetPrefix), equals - std::wcslen(kSetPrefix));
    SetEnvironmentVariableW(name.c_str(), pair.substr(equals + 1).c_str());
  }
  FreeEnvironmentStringsW(block);
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
  constexpr int kArguments = 4;
  if (argc != kArguments) return kCannotStart;
  ApplyRequestedVariables();
  EmptyTheClipboard();
  const int code = Run(Wide(argv[1]), Wide(ReadWholeFile(argv[2])));
  SaveClipboardText(argv[3]);
  return code;
}
