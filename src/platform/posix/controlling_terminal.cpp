#include "platform/posix/controlling_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/interrupted.h"
#include "platform/posix/signal_state.h"
#include "text/line_ends.h"

namespace sympack::platform::posix {
namespace {

constexpr std::size_t kReadChunk = 256;

termios RawFrom(termios modes) {
  modes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
  modes.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR | IGNCR | ISTRIP));
  modes.c_cc[VMIN] = 1;
  modes.c_cc[VTIME] = 0;
  return modes;
}

}  // namespace

bool ControllingTerminal::Open() {
  if (IsOpen()) return true;
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  fd_ = fd;
  if (tcgetattr(fd, &userModes_) == 0) {
    rawModes_ = RawFrom(userModes_);
    modesSaved_ = true;
    // A signal that ends the run puts the user's modes back too.
    posix::PublishTerminal(fd, userModes_);
  }
  UseRawModes();
  TakeKeysTypedInUserModes();
  return true;
}

void ControllingTerminal::Close() {
  if (!IsOpen()) return;
  UseUserModes();
  posix::WithdrawTerminal();
  modesSaved_ = false;
  close(fd_);
  fd_ = -1;
}

void ControllingTerminal::SetModes(const termios& modes) {
  if (modesSaved_) tcsetattr(fd_, TCSANOW, &modes);
}

void ControllingTerminal::UseRawModes() {
  SetModes(rawModes_);
  rawInForce_ = true;
}

void ControllingTerminal::UseUserModes() {
  SetModes(userModes_);
  rawInForce_ = false;
}

// After a stop and continue the shell may have left its own modes in force;
// keys typed between the continue and now went through them (an Enter typed
// right after `fg` came as LF) and are taken in as typed.
bool ControllingTerminal::ReassertModesIfContinued() {
  if (!posix::TakeContinued() || !rawInForce_) return false;
  SetModes(rawModes_);
  TakeKeysTypedInUserModes();
  continuedWhileReading_ = true;
  return true;
}

bool ControllingTerminal::ReadBytes(int timeoutMs) {
  if (!IsOpen()) return false;
  pollfd poller{fd_, POLLIN, 0};
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
  const ssize_t n = RetryWhileInterrupted([&] { return read(fd_, buffer, sizeof(buffer)); });
  if (n <= 0) return false;
  input_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

// Keys typed while the terminal was in the user's own modes (before the tool
// started, or while a child ran) went through the user's input processing,
// which (ICRNL) turned their Enter into LF. Takes them in as soon as the raw
// modes are back, with Enter given back its code, so that none is lost.
void ControllingTerminal::TakeKeysTypedInUserModes() {
  if (!modesSaved_) return;
  const std::size_t first = input_.size();
  while (ReadBytes(0)) {
  }
  const tcflag_t inputModes = userModes_.c_iflag;
  if (!(inputModes & ICRNL) || (inputModes & INLCR)) return;
  for (std::size_t i = first; i < input_.size(); ++i) {
    if (input_[i] == text::kLf) input_[i] = text::kCr;
  }
}

bool ControllingTerminal::TakeContinuedWhileReading() {
  const bool continued = continuedWhileReading_;
  continuedWhileReading_ = false;
  return continued;
}

}  // namespace sympack::platform::posix
