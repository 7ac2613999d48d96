#include "platform/posix/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/interrupted.h"
#include "platform/posix/signal_state.h"

extern char** environ;

namespace sympack::platform::posix {
namespace {

// Where programs are looked for when PATH is not set.
constexpr char kDefaultPath[] = "/usr/bin:/bin";

constexpr int kChildEndPollMilliseconds = 10;

// Waits, in steps, for the child's end; false when it has not ended in time.
bool ReapedWithin(pid_t child, int milliseconds) {
  const timespec step{0, kChildEndPollMilliseconds * 1000000L};
  for (int waited = 0; waited <= milliseconds; waited += kChildEndPollMilliseconds) {
    int status = 0;
    const pid_t got = platform::posix::RetryWhileInterrupted([&] { return waitpid(child, &status, WNOHANG); });
    if (got == child || got < 0) return true;
    nanosleep(&step, nullptr);
  }
  return false;
}

// Signals that may be ignored or handled here and that a child must get back
// with their default handling (the keyboard's, the ending ones, continue).
void AddSignalsGivenDefaults(sigset_t& set) {
  for (const int s : kKeyboardSignals) sigaddset(&set, s);
  for (const int s : kEndingSignals) sigaddset(&set, s);
  for (const int s : {SIGTSTP, SIGCONT}) sigaddset(&set, s);
}

class SpawnAttributes {
 public:
  // `childMask`: the signal mask the child starts with.
  explicit SpawnAttributes(const sigset_t& childMask) {
    posix_spawnattr_init(&attributes_);
    sigset_t defaults;
    sigemptyset(&defaults);
    AddSignalsGivenDefaults(defaults);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setsigmask(&attributes_, &childMask);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  bool Duplicate(int from, int to) { return posix_spawn_file_actions_adddup2(&actions_, from, to) == 0; }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// The ending and keyboard signals wait while a child is started, so that a
// handler never runs between the start and the child's noting: the child
// would be left running. The previous mask comes back, and is the child's own.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int s : kEndingSignals) sigaddset(&ending, s);
    for (const int s : kKeyboardSignals) sigaddset(&ending, s);
    sigprocmask(SIG_BLOCK, &ending, &previous_);
  }
  ~EndingSignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;
  const sigset_t& Previous() const { return previous_; }

 private:
  sigset_t previous_;
};

// The child was stopped (Ctrl+Z reaches the whole foreground process group,
// or someone stopped it): this process stops as well, with the default
// handling of the keyboard's stop signal, and so the shell sees the job
// stopped. Where no shell can continue it (an orphaned process group) the
// stop is discarded and the child is simply continued.
void StopAlongsideChild(pid_t child) {
  struct sigaction previous {};
  sigaction(SIGTSTP, nullptr, &previous);
  RaiseByDefault(SIGTSTP);
  sigaction(SIGTSTP, &previous, nullptr);
  kill(child, SIGCONT);
}

}  // namespace

void RaiseByDefault(int signalNumber) {
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signalNumber, &byDefault, nullptr);
  // Held (inside its own handler, or by a caller), the signal would wait
  // until the mask came back; it takes its course now instead.
  sigset_t only;
  sigset_t previous;
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  sigprocmask(SIG_UNBLOCK, &only, &previous);
  raise(signalNumber);
  sigprocmask(SIG_SETMASK, &previous, nullptr);  // back from a stop
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& name, const std::function<bool(const std::string&)>& isProgram) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : kDefaultPath;
  for (;;) {
    const auto colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    const std::string candidate = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + name;
    if (isProgram(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    folders.remove_prefix(colon + 1);
  }
}

std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& arguments,
                           SpawnOptions options) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const EndingSignalsHeld held;
  const SpawnAttributes attributes(held.Previous());
  FileActions actions;
  if (options.standardOutput >= 0 && !actions.Duplicate(options.standardOutput, STDOUT_FILENO)) {
    return std::nullopt;
  }
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), actions.get(), attributes.get(), argv.data(), environ) != 0) {
    return std::nullopt;
  }
  SetRunningChild(child);
  return child;
}

std::optional<int> WaitForExit(pid_t child) {
  for (;;) {
    int status = 0;
    if (platform::posix::RetryWhileInterrupted([&] { return waitpid(child, &status, WUNTRACED); }) < 0) {
      SetRunningChild(0);  // not ours to wait for: never to be signalled later
      return std::nullopt;
    }
    if (WIFEXITED(status) || WIFSIGNALED(status)) SetRunningChild(0);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return kSignalExitBase + WTERMSIG(status);
    if (WIFSTOPPED(status)) StopAlongsideChild(child);
  }
}

void EndRunningChild(int signalNumber, int graceMilliseconds) {
  const pid_t child = RunningChild();
  if (child <= 0) return;
  const int savedErrno = errno;
  kill(child, signalNumber);
  kill(child, SIGCONT);
  if (!ReapedWithin(child, graceMilliseconds)) {
    kill(child, SIGKILL);
    platform::posix::RetryWhileInterrupted([child] { return waitpid(child, nullptr, 0); });
  }
  SetRunningChild(0);
  errno = savedErrno;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = platform::posix::RetryWhileInterrupted([&] { return write(fd, bytes.data(), bytes.size()); });
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace sympack::platform::posix
