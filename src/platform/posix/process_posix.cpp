// Starting a command line the way CreateProcessW does with no separate
// program name: the program is the line's first token (quoted, or the first
// blank-separated prefix that names a program), and it receives the rest of
// the line as it stands. Our interpreter takes that text as one argument.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/posix/paths.h"
#include "platform/posix/terminal.h"
#include "text/utf.h"

extern char** environ;

namespace sympack::platform {
namespace {

constexpr int kSignalExitBase = 128;

bool IsProgram(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// A bare name is looked for on PATH, as the system does for a program name
// without a directory.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    const std::string resolved = posix::ResolveExisting(name);
    return IsProgram(resolved) ? resolved : std::string();
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/bin:/bin";
  while (!dirs.empty()) {
    const auto colon = dirs.find(':');
    const std::string dir(dirs.substr(0, colon));
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (IsProgram(candidate)) return candidate;
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return {};
}

struct Launch {
  std::string program;
  std::string arguments;  // the rest of the command line, leading blanks skipped
};

// An unquoted program path may hold blanks: as CreateProcessW does, try each
// blank-separated prefix in turn until one names a program.
std::optional<Launch> FindLaunch(std::u16string_view line) {
  const CommandLineParts parts = SplitCommandLine(line);
  if (!parts.programToken.empty() && parts.programToken.front() == u'"') {
    std::u16string_view token = parts.programToken.substr(1);
    if (!token.empty() && token.back() == u'"') token.remove_suffix(1);
    const std::string program = FindProgram(posix::ToNativePath(token));
    if (program.empty()) return std::nullopt;
    return Launch{program, text::Utf16ToUtf8(parts.tail)};
  }
  for (std::size_t end = parts.programToken.size(); end <= line.size();) {
    const std::string program = FindProgram(posix::ToNativePath(line.substr(0, end)));
    if (!program.empty()) {
      std::u16string_view rest = line.substr(end);
      while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
      return Launch{program, text::Utf16ToUtf8(rest)};
    }
    const auto next = line.find(u' ', end + 1);
    if (next == std::u16string_view::npos) break;
    end = next;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> Spawn(const Launch& launch) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(launch.program.c_str()));
  if (!launch.arguments.empty()) argv.push_back(const_cast<char*>(launch.arguments.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGQUIT, SIGTSTP, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  pid_t child = 0;
  const int failed = posix_spawn(&child, launch.program.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) return std::nullopt;

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
  return static_cast<std::uint32_t>(kSignalExitBase + WTERMSIG(status));
}

}  // namespace

std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) {
  const auto launch = FindLaunch(commandLine);
  if (!launch) return std::nullopt;
  posix::HandOverTerminal();
  const auto exitCode = Spawn(*launch);
  posix::TakeBackTerminal();
  return exitCode;
}

}  // namespace sympack::platform
