// The command line, the environment and sleeping, from the Win32 API.
#include <windows.h>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {

// The C runtime's argv has already undone quoting and dropped blanks; the tool
// wants the tail exactly as typed, so it goes back to the process command line.
std::u16string CommandTailWide(int /*argc*/, char** /*argv*/) {
  const wchar_t* line = GetCommandLineW();
  if (line == nullptr) return {};
  const std::u16string whole = win32::FromWide(line, wcslen(line));
  return std::u16string(SplitCommandLine(whole).tail);
}

std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) {
  const std::wstring wideName = win32::ToWide(name);
  std::wstring value;
  // The first call asks for the size; the value may change in between, so
  // ask again until it fits.
  DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  for (;;) {
    if (needed == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::u16string();
    }
    value.assign(needed, L'\0');
    const DWORD got = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    if (got < needed) return win32::FromWide(value.c_str(), got);
    needed = got;
  }
}

// Windows always has its own interpreter, named by "comspec"; when that is not
// set there is nothing to fall back on.
std::u16string DefaultInterpreter() { return {}; }

std::optional<std::u16string> InstalledSimulator() { return std::nullopt; }

void SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace sympack::platform
