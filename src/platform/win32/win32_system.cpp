// Making the host System on Windows, and its command line, environment,
// sleeping and plain standard output, from the Win32 API.
#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/command_line.h"

namespace sympack::platform {

// main()'s arguments are not needed: the command tail comes from the process
// command line itself (CommandTail below).
std::unique_ptr<HostSystem> MakeHostSystem(int /*argc*/, char** /*argv*/) {
  return std::make_unique<win32::Win32System>();
}

namespace win32 {
namespace {

// The simulator's name beside the program; the longest path a module's name
// may have (32767 units and the zero).
constexpr wchar_t kSimulatorBeside[] = L"FST4SIM.EXE";
constexpr std::size_t kLongestPath = 32768;

}  // namespace

Win32System::Win32System() : typedLines_(*this) {}

// The C runtime's argv has already undone quoting and dropped blanks; the tool
// wants the tail exactly as typed, so it goes back to the process command line.
std::u16string Win32System::CommandTail() {
  const wchar_t* line = GetCommandLineW();
  if (line == nullptr) return {};
  const std::u16string whole = FromWide(line, wcslen(line));
  return std::u16string(SplitCommandLine(whole).tail);
}

std::optional<std::u16string> Win32System::EnvironmentVariable(std::u16string_view name) {
  const std::wstring wideName = ToWide(name);
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
    if (got < needed) return FromWide(value.c_str(), got);
    needed = got;
  }
}

// Windows always has its own interpreter, named by "comspec"; when that is not
// set there is nothing to fall back on.
std::u16string Win32System::DefaultInterpreter() { return {}; }

// The zip holds both programs in one folder: the simulator beside
// SYMPACK.EXE, for a run started by its path from another folder.
std::optional<std::u16string> Win32System::InstalledSimulator() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return std::nullopt;
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    if (path.size() >= kLongestPath) return std::nullopt;
    path.resize(path.size() * 2);  // cut to fit: ask again with more room
  }
  const auto folderEnd = path.find_last_of(L"\\/");
  if (folderEnd == std::wstring::npos) return std::nullopt;
  path.resize(folderEnd + 1);
  path += kSimulatorBeside;
  const DWORD attributes = [&] {
    const CriticalErrorsOff quiet;
    return GetFileAttributesW(path.c_str());
  }();
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return FromWide(path.c_str(), path.size());
}

void Win32System::SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

// Through the C runtime's text streams, which write LF as CR LF, so that the
// text reads alike in a console, a pager or a file.
bool Win32System::WriteStandardOutput(std::string_view text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written;
}

void Win32System::WriteStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace win32
}  // namespace sympack::platform
