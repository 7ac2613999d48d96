#include "platform/win32/control_handler_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

// The system calls the handler on a thread of its own, at any moment of the
// run, so the name it removes is the one state that cannot be a member of
// the System: it lives here, guarded by a lock that both threads take. The
// buffer is fixed (the longest Win32 path and its zero) so that nothing is
// allocated or freed while the other thread may read it, not even when the
// process ends.
constexpr std::size_t kNameUnits = 32768;

SRWLOCK g_nameLock = SRWLOCK_INIT;
wchar_t g_name[kNameUnits];  // zero-terminated; empty when there is nothing to remove

class NameLocked {
 public:
  NameLocked() { AcquireSRWLockExclusive(&g_nameLock); }
  ~NameLocked() { ReleaseSRWLockExclusive(&g_nameLock); }
  NameLocked(const NameLocked&) = delete;
  NameLocked& operator=(const NameLocked&) = delete;
};

// Ctrl+C, Ctrl+Break and closing the window are taken as handled, so neither
// key ends the run. The system ends the process after a close, log-off or
// shut-down all the same: the run's temporary report goes first.
BOOL WINAPI KeepRunning(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
      const NameLocked locked;
      if (g_name[0] != L'\0') DeleteFileW(g_name);
      return event == CTRL_CLOSE_EVENT ? TRUE : FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void HandleControlEvents() { SetConsoleCtrlHandler(KeepRunning, TRUE); }

// A name too long for any Win32 path names no file the handler could remove;
// it cancels instead, as an empty one does.
void Win32System::RemoveAtAbnormalEnd(std::u16string_view path) {
  const NameLocked locked;
  const std::size_t units = path.size() < kNameUnits ? path.size() : 0;
  std::copy_n(path.begin(), units, g_name);
  g_name[units] = L'\0';
}

}  // namespace sympack::platform::win32
