// Starting a command line with CreateProcessW, in the run's job, and waiting
// for it to end. The
// child shares the tool's console and writes into it in the console's current
// colour; when a standard stream is a file or pipe instead (a transcript, typed
// lines from a file), the child gets the tool's three standard streams, so that
// what it prints lands in the transcript in its place.
#include <windows.h>

#include "platform/win32/control_handler_win32.h"
#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
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

// Hands the child the three standard handles when one of them is no console
// handle: a child only inherits those explicitly. True when it does.
bool PassStandardHandles(STARTUPINFOW& startup) {
  const DWORD which[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  HANDLE handles[3];
  bool allConsole = true;
  for (int i = 0; i < 3; ++i) {
    handles[i] = GetStdHandle(which[i]);
    if (!IsConsole(handles[i])) allConsole = false;
  }
  if (allConsole) return false;
  for (const HANDLE handle : handles) {
    if (IsUsable(handle)) {
      SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
  }
  startup.dwFlags |= STARTF_USESTDHANDLES;
  startup.hStdInput = handles[0];
  startup.hStdOutput = handles[1];
  startup.hStdError = handles[2];
  return true;
}

// A closed console is ending the run (control_handler_win32.h): the system
// ends the process once the handler has cleaned up, and nothing of the run
// may go on meanwhile.
[[noreturn]] void ParkUntilTheEnd() {
  for (;;) Sleep(INFINITE);
}

}  // namespace

bool Win32System::ProcessWasInterrupted() { return interrupted_; }

void Win32System::EndInterrupted() { ExitProcess(STATUS_CONTROL_C_EXIT); }

std::optional<std::uint32_t> Win32System::RunProcess(std::u16string_view commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring line = ToWide(commandLine);
  STARTUPINFOW startup = ShownNormally();
  // The tool's own handles (its files, the keyboard, the folder claim) are
  // not inheritable: when inheriting is on, only the standard handles pass.
  const BOOL inherit = PassStandardHandles(startup) ? TRUE : FALSE;
  PROCESS_INFORMATION started{};
  BOOL ok = FALSE;
  interrupted_ = false;
  if (RunIsEnding()) ParkUntilTheEnd();
  {
    const CriticalErrorsOff quiet;
    // Started suspended, so that it is in the run's job before it can start
    // anything of its own.
    ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, inherit, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &started);
  }
  if (!ok) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
    lastStartFailure_ = missing ? StartFailure::kNotFound : StartFailure::kNotRunnable;
    return std::nullopt;
  }
  lastStartFailure_ = StartFailure::kNone;
  const OwnedHandle process(started.hProcess);
  const OwnedHandle thread(started.hThread);
  AdoptChild(process.Get());
  ResumeThread(thread.Get());

  WaitForSingleObject(process.Get(), INFINITE);
  interrupted_ = ReleaseChild();
  if (RunIsEnding()) ParkUntilTheEnd();
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return kUnknownExitCode;
  return exitCode;
}

StartFailure Win32System::LastStartFailure() { return lastStartFailure_; }

}  // namespace sympack::platform::win32
