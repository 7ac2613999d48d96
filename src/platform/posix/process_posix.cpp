// Starting a command line the way CreateProcessW does with no separate
// program name: the program is the line's first token (quoted, or the first
// blank-separated prefix that names a program), and it receives the rest of
// the line as it stands. Our interpreter takes that text as one argument.
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/posix/terminal.h"
#include "posix/paths.h"
#include "posix/process.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

// A name with a folder is taken exactly as it stands; a bare name is looked
// for on PATH, as the system does.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    return sympack::posix::IsExecutableFile(name) ? name : std::string();
  }
  return sympack::posix::FindOnPath(name);
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
    const std::string program = FindProgram(sympack::posix::ToNativePath(token));
    if (program.empty()) return std::nullopt;
    return Launch{program, text::Utf16ToUtf8(parts.tail)};
  }
  for (std::size_t end = parts.programToken.size(); end <= line.size();) {
    const std::string program = FindProgram(sympack::posix::ToNativePath(line.substr(0, end)));
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

// Our interpreter takes the rest of the command line as one argument.
std::optional<std::uint32_t> Run(const Launch& launch) {
  std::vector<std::string> arguments;
  if (!launch.arguments.empty()) arguments.push_back(launch.arguments);
  const auto child = sympack::posix::Spawn(launch.program, arguments);
  if (!child) return std::nullopt;
  const auto status = sympack::posix::WaitForExit(*child);
  if (!status) return std::nullopt;
  return static_cast<std::uint32_t>(*status);
}

}  // namespace

std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) {
  const auto launch = FindLaunch(commandLine);
  if (!launch) return std::nullopt;
  posix::HandOverTerminal();
  const auto exitCode = Run(*launch);
  posix::TakeBackTerminal();
  return exitCode;
}

}  // namespace sympack::platform
