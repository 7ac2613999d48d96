// Support for the Windows seam tests: the host System they check, a fresh
// current folder per test, files made and read back with the Win32 calls
// themselves, and the helper programs that are built beside the test program.
#pragma once

#include <windows.h>

#include <string>

#include "platform/host_system.h"

namespace sympack::wintest {

// The System under test, shared by the tests that do not prepare it for a
// run.
inline platform::HostSystem& Host() {
  static const auto host = platform::MakeHostSystem(0, nullptr);
  return *host;
}

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// A new folder under the temporary folder, current while this lives; removed
// with everything in it (attributes cleared first) at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring previous_;
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& name, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& name);
bool Exists(const std::wstring& name);
void SetAttributes(const std::wstring& name, DWORD attributes);

// True when Wine runs the program: its ntdll exports wine_get_version. Only
// for the few places where Wine is known to differ from Windows.
inline bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The folder the test program was started from, with a backslash at the end.
std::wstring ProgramFolder();

}  // namespace sympack::wintest
