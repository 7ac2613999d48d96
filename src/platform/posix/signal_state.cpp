#include "platform/posix/signal_state.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "platform/posix/process.h"

namespace sympack::posix {
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
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signalNumber, &byDefault, nullptr);
  raise(signalNumber);
}

void NoteContinued(int) { g_state.continued = 1; }

// The ending signals and SIGTTOU wait while a handler runs: one ending is
// carried through at a time, and none stops the process on the terminal.
void Handle(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (const int s : {SIGTERM, SIGHUP, SIGTTOU}) sigaddset(&action.sa_mask, s);
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

void InstallRunSignalHandlers() {
  if (g_state.handlersInstalled) return;
  g_state.handlersInstalled = true;
  // Ctrl+C, Ctrl+\ and Ctrl+Z never end or stop the tool by themselves
  // (children get the default handling back when they start); a child
  // stopped from the keyboard stops the whole run (see the process module).
  for (const int s : {SIGINT, SIGQUIT, SIGTSTP}) Handle(s, SIG_IGN, 0);
  for (const int s : {SIGTERM, SIGHUP}) Handle(s, RestoreAndEnd, 0);
  Handle(SIGCONT, NoteContinued, SA_RESTART);
}

}  // namespace sympack::posix
