#include "platform/posix/signal_state.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/process.h"

namespace sympack::platform::posix {
namespace {

constexpr int kNoFd = -1;

struct SignalSafeState {
  volatile sig_atomic_t runningChild = 0;
  volatile sig_atomic_t terminalFd = kNoFd;
  termios userModes{};
  volatile sig_atomic_t resetFd = kNoFd;
  const char* resetBytes = nullptr;
  std::size_t resetSize = 0;
  char abnormalEndPath[PATH_MAX] = {};
  volatile sig_atomic_t abnormalEndPathSet = 0;
  volatile sig_atomic_t continued = 0;
  volatile sig_atomic_t interrupt = 0;
  bool handlersInstalled = false;  // main thread only
};
SignalSafeState g_state;

// True when this process's group is the terminal's foreground group: only
// then is the terminal the tool's to set. From the background (stopped and
// sent `kill %1`, or started with &) it belongs to the shell or another job.
bool OwnsTerminal(int fd) { return fd != kNoFd && tcgetpgrp(fd) == getpgrp(); }

// A signal that ends the process ends the run: the interpreter (and through
// it the simulator) first, then the report it wrote is removed, so nothing
// appears afterwards; the user gets the terminal back where it is the tool's;
// then the signal takes its default course. The handler runs with SIGTTOU
// blocked, so it never stops on the terminal. Only async-signal-safe calls.
void RestoreAndEnd(int signalNumber) {
  EndRunningChild(signalNumber, kInterpreterEndGraceMilliseconds);
  if (g_state.abnormalEndPathSet) unlink(g_state.abnormalEndPath);
  if (OwnsTerminal(g_state.terminalFd)) tcsetattr(g_state.terminalFd, TCSANOW, &g_state.userModes);
  if (OwnsTerminal(g_state.resetFd) && g_state.resetBytes != nullptr) {
    [[maybe_unused]] const ssize_t ignored = write(g_state.resetFd, g_state.resetBytes, g_state.resetSize);
  }
  RaiseByDefault(signalNumber);
}

void NoteContinued(int) { g_state.continued = 1; }

// Ctrl+C or Ctrl+\ while a child runs: the terminal gave it to the child as
// well, but a signal sent to the tool alone must reach it too. The run ends
// once the child has (TakeInterrupt). At any other time it changes nothing.
void NoteInterrupt(int signalNumber) {
  const pid_t child = g_state.runningChild;
  if (child <= 0) return;
  g_state.interrupt = signalNumber;
  const int savedErrno = errno;
  kill(child, signalNumber);
  errno = savedErrno;
}

// The ending and keyboard signals and SIGTTOU wait while a handler runs: one
// ending is carried through at a time, and none stops the process on the
// terminal.
void Handle(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (const int s : kEndingSignals) sigaddset(&action.sa_mask, s);
  for (const int s : kKeyboardSignals) sigaddset(&action.sa_mask, s);
  sigaddset(&action.sa_mask, SIGTTOU);
  action.sa_flags = flags;
  sigaction(signalNumber, &action, nullptr);
}


}  // namespace

void SetRunningChild(pid_t child) { g_state.runningChild = child; }

pid_t RunningChild() { return g_state.runningChild; }

void PublishTerminal(int fd, const termios& userModes) {
  g_state.terminalFd = kNoFd;
  g_state.userModes = userModes;
  g_state.terminalFd = fd;
}

void WithdrawTerminal() { g_state.terminalFd = kNoFd; }

void PublishOutputReset(int fd, std::string_view bytes) {
  g_state.resetFd = kNoFd;
  g_state.resetBytes = bytes.data();
  g_state.resetSize = bytes.size();
  g_state.resetFd = fd;
}

void PublishAbnormalEndFile(std::string_view path) {
  g_state.abnormalEndPathSet = 0;
  // A path too long for the buffer is left unnamed rather than cut: a cut
  // one could name another file.
  if (path.empty() || path.size() >= sizeof(g_state.abnormalEndPath)) return;
  std::memcpy(g_state.abnormalEndPath, path.data(), path.size());
  g_state.abnormalEndPath[path.size()] = '\0';
  g_state.abnormalEndPathSet = 1;
}

bool TakeContinued() {
  if (!g_state.continued) return false;
  g_state.continued = 0;
  return true;
}

int TakeInterrupt() {
  const int signalNumber = g_state.interrupt;
  g_state.interrupt = 0;
  return signalNumber;
}

void EndBySignal(int signalNumber) {
  RaiseByDefault(signalNumber);
  _exit(kSignalExitBase + signalNumber);  // a signal whose default course is not to end
}

void InstallRunSignalHandlers() {
  if (g_state.handlersInstalled) return;
  g_state.handlersInstalled = true;
  // Ctrl+Z never stops the tool by itself (children get the default handling
  // back when they start); a child stopped from the keyboard stops the whole
  // run (see the process module).
  Handle(SIGTSTP, SIG_IGN, 0);
  for (const int s : kKeyboardSignals) Handle(s, NoteInterrupt, SA_RESTART);
  for (const int s : kEndingSignals) Handle(s, RestoreAndEnd, 0);
  Handle(SIGCONT, NoteContinued, SA_RESTART);
}

WriteSignalsHeld::WriteSignalsHeld() {
  sigemptyset(&raised_);
  sigset_t held;
  sigemptyset(&held);
  for (const int s : {SIGPIPE, SIGXFSZ}) sigaddset(&held, s);
  sigprocmask(SIG_BLOCK, &held, &previous_);
}

void WriteSignalsHeld::NoteFailure(int error) {
  if (error == EPIPE) sigaddset(&raised_, SIGPIPE);
  if (error == EFBIG) sigaddset(&raised_, SIGXFSZ);
}

WriteSignalsHeld::~WriteSignalsHeld() {
  const int savedErrno = errno;
  sigset_t pending;
  sigpending(&pending);
  const timespec noWait{0, 0};
  for (const int s : {SIGPIPE, SIGXFSZ}) {
    if (sigismember(&raised_, s) != 1 || sigismember(&pending, s) != 1) continue;
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, s);
    sigtimedwait(&only, nullptr, &noWait);
  }
  sigprocmask(SIG_SETMASK, &previous_, nullptr);
  errno = savedErrno;
}

}  // namespace sympack::platform::posix
