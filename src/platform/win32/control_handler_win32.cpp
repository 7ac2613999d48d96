#include "platform/win32/control_handler_win32.h"

#include <algorithm>

#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

// The system calls the handler on a thread of its own, at any moment of the
// run, so what it reads is the one state that cannot be a member of the
// System: it lives here, guarded by a lock that both threads take. The name's
// buffer is fixed (the longest Win32 path and its zero) so that nothing is
// allocated or freed while the other thread may read it, not even when the
// process ends.
constexpr std::size_t kNameUnits = 32768;
// How long a closed console's handler waits for the ended programs to be
// gone before it removes the report; the system gives the handler 5 s.
constexpr DWORD kProgramsGoneMilliseconds = 2000;
constexpr DWORD kPollMilliseconds = 10;

SRWLOCK g_lock = SRWLOCK_INIT;
wchar_t g_name[kNameUnits];  // zero-terminated; empty when there is nothing to remove
HANDLE g_job = nullptr;      // made at the first program; closed by the system at the end
HANDLE g_child = nullptr;    // the program running now, owned by RunProcess
bool g_childInJob = false;
bool g_interrupted = false;
volatile LONG g_ending = 0;

class Locked {
 public:
  Locked() { AcquireSRWLockExclusive(&g_lock); }
  ~Locked() { ReleaseSRWLockExclusive(&g_lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

// The job whose last handle, closed when this process ends, ends every
// program in it. Never inherited: a child holding it would keep it open.
HANDLE RunJob() {
  if (g_job != nullptr) return g_job;
  g_job = CreateJobObjectW(nullptr, nullptr);
  if (g_job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(g_job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  return g_job;
}

// Ends the running program and everything it started, as Ctrl+C ends a
// console program. Called with the lock held.
void EndPrograms() {
  if (g_childInJob) {
    TerminateJobObject(g_job, STATUS_CONTROL_C_EXIT);
  } else if (g_child != nullptr) {
    TerminateProcess(g_child, STATUS_CONTROL_C_EXIT);
  }
}

bool ProgramsGone() {
  if (g_childInJob) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!QueryInformationJobObject(g_job, JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                   nullptr)) {
      return true;
    }
    return accounting.ActiveProcesses == 0;
  }
  return g_child == nullptr || WaitForSingleObject(g_child, 0) != WAIT_TIMEOUT;
}

// Ctrl+C and Ctrl+Break are taken as handled, so neither key ends the tool
// itself. The system ends the process after a close, log-off or shut-down
// all the same: the programs go first, then the run's temporary report, so
// that no program writes it again afterwards.
BOOL WINAPI OnControlEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: {
      const Locked locked;
      if (g_child != nullptr) {
        g_interrupted = true;
        EndPrograms();
      }
      return TRUE;
    }
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
      InterlockedExchange(&g_ending, 1);
      const Locked locked;
      EndPrograms();
      for (DWORD waited = 0; waited < kProgramsGoneMilliseconds && !ProgramsGone(); waited += kPollMilliseconds) {
        Sleep(kPollMilliseconds);
      }
      if (g_name[0] != L'\0') DeleteFileW(g_name);
      return event == CTRL_CLOSE_EVENT ? TRUE : FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void HandleControlEvents() { SetConsoleCtrlHandler(OnControlEvent, TRUE); }

void AdoptChild(HANDLE process) {
  const Locked locked;
  const HANDLE job = RunJob();
  g_child = process;
  g_childInJob = job != nullptr && AssignProcessToJobObject(job, process) != FALSE;
  g_interrupted = false;
}

bool ReleaseChild() {
  const Locked locked;
  g_child = nullptr;
  g_childInJob = false;
  const bool interrupted = g_interrupted;
  g_interrupted = false;
  return interrupted;
}

bool RunIsEnding() { return InterlockedCompareExchange(&g_ending, 0, 0) != 0; }

// A name too long for any Win32 path names no file the handler could remove;
// it cancels instead, as an empty one does.
void Win32System::RemoveAtAbnormalEnd(std::u16string_view path) {
  const Locked locked;
  const std::size_t units = path.size() < kNameUnits ? path.size() : 0;
  std::copy_n(path.begin(), units, g_name);
  g_name[units] = L'\0';
}

}  // namespace sympack::platform::win32
