#include "platform/posix/controlling_terminal.h"

#include "platform/posix/abnormal_end.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/process.h"
#include "text/line_ends.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace sympack::platform::posix {
namespace {

constexpr int kNoFd = -1;
constexpr std::size_t kReadChunk = 256;

// Everything a signal handler touches: written before the handlers are
// installed (or as one sig_atomic_t store), only read by them.
struct SignalSafeState {
  volatile sig_atomic_t terminalFd = kNoFd;
  volatile sig_atomic_t modesSaved = 0;
  termios userModes{};
  volatile sig_atomic_t resetFd = kNoFd;
  const char* resetBytes = nullptr;
  std::size_t resetSize = 0;
  volatile sig_atomic_t continued = 0;  // a SIGCONT came
};
SignalSafeState g_signalSafe;

struct TerminalState {
  termios rawModes{};
  bool rawInForce = false;
  bool handlersInstalled = false;
  bool continuedWhileReading = false;
  std::string input;
};
TerminalState g_terminal;

// True when this process's group is the terminal's foreground group: only
// then is the terminal the tool's to set. From the background (stopped and
// sent `kill %1`, or started with &) it belongs to the shell or another job.
bool OwnsTerminal(int fd) { return fd != kNoFd && tcgetpgrp(fd) == getpgrp(); }

// A signal that ends the process ends the run: the interpreter (and through
// it the simulator) first, then the report it wrote is removed, so nothing
// appears afterwards; the user gets the terminal back where it is the
// tool's; then the signal takes its default course. The handler runs with
// SIGTTOU blocked, so it never stops on the terminal. Only async-signal-safe
// calls.
void RestoreAndEnd(int signalNumber) {
  sympack::posix::EndRunningChild(signalNumber, sympack::posix::kInterpreterEndGraceMilliseconds);
  RemoveAbnormalEndFile();
  if (g_signalSafe.modesSaved && OwnsTerminal(g_signalSafe.terminalFd)) {
    tcsetattr(g_signalSafe.terminalFd, TCSANOW, &g_signalSafe.userModes);
  }
  if (OwnsTerminal(g_signalSafe.resetFd) && g_signalSafe.resetBytes != nullptr) {
    [[maybe_unused]] const ssize_t ignored =
        write(g_signalSafe.resetFd, g_signalSafe.resetBytes, g_signalSafe.resetSize);
  }
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signalNumber, &byDefault, nullptr);
  raise(signalNumber);
}

void NoteContinued(int) { g_signalSafe.continued = 1; }

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

void InstallSignalHandlers() {
  if (g_terminal.handlersInstalled) return;
  g_terminal.handlersInstalled = true;
  // Ctrl+C, Ctrl+\ and Ctrl+Z never end or stop the tool by themselves
  // (children get the default handling back when they start); a child
  // stopped from the keyboard stops the whole run (see the process module).
  for (int s : {SIGINT, SIGQUIT, SIGTSTP}) Handle(s, SIG_IGN, 0);
  for (int s : {SIGTERM, SIGHUP}) Handle(s, RestoreAndEnd, 0);
  Handle(SIGCONT, NoteContinued, SA_RESTART);
}

namespace {

void SetModes(const termios& modes) {
  if (g_signalSafe.modesSaved) tcsetattr(g_signalSafe.terminalFd, TCSANOW, &modes);
}

// After a stop and continue the shell may have left its own modes in force;
// keys typed between the continue and now went through them (an Enter typed
// right after `fg` came as LF) and are taken in as typed.
bool ReassertModesIfContinued() {
  if (!g_signalSafe.continued) return false;
  g_signalSafe.continued = 0;
  if (!g_terminal.rawInForce) return false;
  SetModes(g_terminal.rawModes);
  TakeKeysTypedInUserModes();
  g_terminal.continuedWhileReading = true;
  return true;
}

}  // namespace

bool OpenControllingTerminal() {
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  g_signalSafe.terminalFd = fd;
  termios modes{};
  if (tcgetattr(fd, &modes) == 0) {
    g_signalSafe.userModes = modes;
    g_terminal.rawModes = modes;
    g_terminal.rawModes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    g_terminal.rawModes.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR | IGNCR | ISTRIP));
    g_terminal.rawModes.c_cc[VMIN] = 1;
    g_terminal.rawModes.c_cc[VTIME] = 0;
    g_signalSafe.modesSaved = 1;
  }
  UseRawModes();
  TakeKeysTypedInUserModes();
  return true;
}

void CloseControllingTerminal() {
  UseUserModes();
  const int fd = g_signalSafe.terminalFd;
  g_signalSafe.modesSaved = 0;
  g_signalSafe.terminalFd = kNoFd;
  if (fd != kNoFd) close(fd);
}

bool HaveControllingTerminal() { return g_signalSafe.terminalFd != kNoFd; }

void UseRawModes() {
  SetModes(g_terminal.rawModes);
  g_terminal.rawInForce = true;
}

void UseUserModes() {
  SetModes(g_signalSafe.userModes);
  g_terminal.rawInForce = false;
}

std::string& TerminalInput() { return g_terminal.input; }

bool ReadTerminalBytes(int timeoutMs) {
  if (!HaveControllingTerminal()) return false;
  pollfd poller{g_signalSafe.terminalFd, POLLIN, 0};
  for (;;) {
    if (ReassertModesIfContinued()) return true;
    const int ready = poll(&poller, 1, timeoutMs);
    // Not retried at once: the interrupting signal may be the continue
    // after a stop, whose modes are put back first.
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    break;
  }
  char buffer[kReadChunk];
  const ssize_t n =
      RetryWhileInterrupted([&buffer] { return read(g_signalSafe.terminalFd, buffer, sizeof(buffer)); });
  if (n <= 0) return false;
  g_terminal.input.append(buffer, static_cast<std::size_t>(n));
  return true;
}

// Keys typed while the terminal was in the user's own modes (before the tool
// started, or while a child ran) went through the user's input processing,
// which (ICRNL) turned their Enter into LF. Takes them in as soon as the raw
// modes are back, with Enter given back its code, so that none is lost.
void TakeKeysTypedInUserModes() {
  if (!g_signalSafe.modesSaved) return;
  const std::size_t first = g_terminal.input.size();
  while (ReadTerminalBytes(0)) {
  }
  const tcflag_t inputModes = g_signalSafe.userModes.c_iflag;
  if (!(inputModes & ICRNL) || (inputModes & INLCR)) return;
  for (std::size_t i = first; i < g_terminal.input.size(); ++i) {
    if (g_terminal.input[i] == text::kLf) g_terminal.input[i] = text::kCr;
  }
}

bool TakeContinuedWhileReading() {
  const bool continued = g_terminal.continuedWhileReading;
  g_terminal.continuedWhileReading = false;
  return continued;
}

void SetOutputResetOnSignal(int fd, std::string_view bytes) {
  g_signalSafe.resetFd = kNoFd;
  g_signalSafe.resetBytes = bytes.data();
  g_signalSafe.resetSize = bytes.size();
  g_signalSafe.resetFd = fd;
}

}  // namespace sympack::platform::posix
