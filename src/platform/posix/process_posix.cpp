// Starting a command line the way CreateProcessW does with no separate
// program name: the program is the line's first token (quoted, or the first
// blank-separated prefix that names a program), and it receives the rest of
// the line as it stands. Our interpreter takes that text as one argument.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/paths.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/process.h"
#include "platform/posix/signal_state.h"
#include "text/line_ends.h"
#include "text/utf.h"

namespace sympack::platform::posix {
namespace {

// A name with a folder is taken exactly as it stands; a bare name is looked
// for on PATH, as the system does.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    return posix::IsExecutableFile(name) ? name : std::string();
  }
  return posix::FindOnPath(name);
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

// Why no program was found for the line's first token: something stands
// under its name that cannot be run, or nothing does.
StartFailure WhyNotFound(std::u16string_view line) {
  std::u16string_view token = SplitCommandLine(line).programToken;
  if (!token.empty() && token.front() == u'"') token.remove_prefix(1);
  if (!token.empty() && token.back() == u'"') token.remove_suffix(1);
  const std::string name = posix::ToNativePath(token);
  const auto exists = [](const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
  };
  const bool there = name.find('/') != std::string::npos ? exists(name)
                                                         : !posix::FindOnPath(name, exists).empty();
  return there ? StartFailure::kNotRunnable : StartFailure::kNotFound;
}

// Copies what the child prints into standard output with LF line ends, as
// every other transcript line ends, until the child closes its end: the files
// it shows (TYPE) keep their CR LF bytes on disk. Everything is read, even
// when standard output no longer takes it, so the child never blocks.
void RelayWithSystemLineEnds(int fromChild) {
  text::CrLfToLf lineEnds;
  char buffer[4096];
  for (;;) {
    const ssize_t n = RetryWhileInterrupted([&] { return read(fromChild, buffer, sizeof(buffer)); });
    if (n <= 0) break;
    const std::string_view piece(buffer, static_cast<std::size_t>(n));
    posix::WriteAll(STDOUT_FILENO, lineEnds.Pass(piece));
  }
  posix::WriteAll(STDOUT_FILENO, lineEnds.Finish());
  close(fromChild);
}

// Our interpreter takes the rest of the command line as one argument. When
// standard output is a file or pipe (the plain transcript), what the child
// prints goes through the tool on its way there.
std::optional<std::uint32_t> Run(const Launch& launch, StartFailure& failure) {
  std::vector<std::string> arguments;
  if (!launch.arguments.empty()) arguments.push_back(launch.arguments);
  int pipeEnds[2] = {-1, -1};
  // pipe2 (both ends closed on exec at once): Linux and the BSDs, POSIX since
  // its 2024 edition.
  const bool relay = !isatty(STDOUT_FILENO) && pipe2(pipeEnds, O_CLOEXEC) == 0;
  posix::SpawnOptions options;
  if (relay) options.standardOutput = pipeEnds[1];
  const auto child = posix::Spawn(launch.program, arguments, options);
  if (relay) {
    close(pipeEnds[1]);
    if (child) RelayWithSystemLineEnds(pipeEnds[0]);
    else close(pipeEnds[0]);
  }
  if (!child) {
    failure = StartFailure::kNotRunnable;
    return std::nullopt;
  }
  const auto status = posix::WaitForExit(*child);
  if (!status) return std::nullopt;
  return static_cast<std::uint32_t>(*status);
}

}  // namespace

// While the child runs the terminal is handed over in the user's modes, where
// Ctrl+C and Ctrl+\ are signals again.
std::optional<std::uint32_t> PosixSystem::RunProcess(std::u16string_view commandLine) {
  posix::TakeInterrupt();  // one that came between runs counts for none
  interruptedBy_ = 0;
  lastStartFailure_ = StartFailure::kNone;
  const auto launch = FindLaunch(commandLine);
  if (!launch) {
    lastStartFailure_ = WhyNotFound(commandLine);
    return std::nullopt;
  }
  HandOverTerminal();
  const auto exitCode = Run(*launch, lastStartFailure_);
  TakeBackTerminal();
  interruptedBy_ = posix::TakeInterrupt();
  return exitCode;
}

bool PosixSystem::ProcessWasInterrupted() { return interruptedBy_ != 0; }

void PosixSystem::EndInterrupted() { posix::EndBySignal(interruptedBy_ != 0 ? interruptedBy_ : SIGINT); }
StartFailure PosixSystem::LastStartFailure() { return lastStartFailure_; }

}  // namespace sympack::platform::posix
