#include "run_program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "cmd_output.h"
#include "command_parser.h"
#include "platform/posix/paths.h"
#include "platform/posix/process.h"
#include "program_lookup.h"
#include "text/line_ends.h"

namespace sympack::cmd {
namespace {

constexpr int kFailed = 1;

// A program is looked up as cmd.exe looks it up, and cmd.exe folds case.
std::string ProgramName(const std::string& name) { return platform::posix::ResolveExisting(NativeName(name)); }

bool IsProgram(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Both ends of a pipe, closed when no longer needed.
struct Pipe {
  int read = -1;
  int write = -1;
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  bool Open() {
    int ends[2];
    // pipe2: Linux and the BSDs, POSIX since its 2024 edition.
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    read = ends[0];
    write = ends[1];
    return true;
  }
  void CloseRead() { CloseEnd(read); }
  void CloseWrite() { CloseEnd(write); }
  static void CloseEnd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

// Copies the child's output into the file with Windows' line ends.
bool CopyWithCrLf(int from, int to, const std::string& program) {
  text::LfToCrLf lineEnds;
  return CopyBlocks(from, program, [&](std::string_view block) { return platform::posix::WriteAll(to, lineEnds.Pass(block)); });
}

int Finish(const std::string& program, pid_t child, bool copied) {
  const auto status = platform::posix::WaitForExit(child);
  if (!status) {
    Complain("sympack-cmd: waiting for " + program + " failed: " + Reason(errno) + "\n");
    return kFailed;
  }
  return copied || *status != 0 ? *status : kFailed;
}

}  // namespace

std::string FindProgram(const std::string& name, const Environment& environment) {
  const std::string found = FindProgramFile(
      name, environment("PATHEXT").value_or(std::string(command::kPathExtWhenUnset)), environment("PATH").value_or(""), ':',
      [](const std::string& candidate) { return IsProgram(ProgramName(candidate)); });
  if (found.empty()) return {};
  const std::string resolved = ProgramName(found);
  return resolved.find('/') == std::string::npos ? "./" + resolved : resolved;
}

int RunProgram(const std::string& program, std::string_view argumentText, int out) {
  const std::vector<std::string> arguments = SplitArguments(argumentText);
  Pipe pipe;
  if (out != STDOUT_FILENO && !pipe.Open()) {
    Complain("sympack-cmd: no pipe for the output of " + program + ": " + Reason(errno) + "\n");
    return kFailed;
  }
  const auto child = platform::posix::Spawn(program, arguments, {pipe.write});
  pipe.CloseWrite();
  if (!child) {
    Complain("Access is denied.\n");
    return kFailed;
  }
  const bool copied = pipe.read < 0 || CopyWithCrLf(pipe.read, out, program);
  pipe.CloseRead();
  return Finish(program, *child, copied);
}

}  // namespace sympack::cmd
