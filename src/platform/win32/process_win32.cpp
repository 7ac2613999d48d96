// Starting a command line with CreateProcessW and waiting for it to end. The
// child shares the tool's console and writes into it in the console's current
// colour.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {
namespace {

// Reported when the child ended but its exit code could not be read.
constexpr std::uint32_t kUnknownExitCode = 0xFFFFFFFFu;

STARTUPINFOW ShownNormally() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  return startup;
}

}  // namespace

std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring line = win32::ToWide(commandLine);
  STARTUPINFOW startup = ShownNormally();
  PROCESS_INFORMATION started{};
  BOOL ok = FALSE;
  {
    const win32::CriticalErrorsOff quiet;
    ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started);
  }
  if (!ok) return std::nullopt;
  const win32::OwnedHandle process(started.hProcess);
  const win32::OwnedHandle thread(started.hThread);

  WaitForSingleObject(process.Get(), INFINITE);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return kUnknownExitCode;
  return exitCode;
}

}  // namespace sympack::platform
