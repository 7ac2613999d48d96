// sympack-cmd: the command interpreter that stands in on POSIX systems for the
// one Windows names in "comspec". It takes cmd.exe's switches (/D, /V:ON,
// /V:OFF, /S ...) and reads one command given after /C as cmd.exe does
// (percent expansion, carriage returns removed, then quotes, carets and
// redirection, a line feed ending the command; delayed expansion when it is
// on) and runs TYPE with file names, or a program looked up as cmd.exe looks
// it up (the current folder, then PATH; only files with an executable
// extension), with > redirection. Redirected program output gets CR LF line
// ends, the text convention of the platform it stands in for.
//
// The registry settings cmd.exe reads, which a POSIX system has not, come
// from the environment: SYMPACK_CMD_DELAYED_EXPANSION=1 stands for
// DelayedExpansion = 1 (delayed expansion unless /V:OFF), and
// SYMPACK_CMD_AUTORUN for the AutoRun command (run first unless /D).
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "command_parser.h"
#include "interpreter_switches.h"
#include "percent_expansion.h"
#include "program_lookup.h"
#include "platform/name_match.h"
#include "posix/paths.h"
#include "posix/process.h"
#include "text/line_ends.h"
#include "text/utf.h"

extern char** environ;

namespace {

using namespace sympack;

constexpr int kExitRefused = 1;
constexpr int kExitNotFound = 127;
constexpr std::size_t kCopyChunk = 65536;
// cmd.exe's longest command, in UTF-16 units.
constexpr std::size_t kMaxCommand = 8191;
constexpr char kDelayedExpansionVariable[] = "SYMPACK_CMD_DELAYED_EXPANSION";
constexpr char kAutoRunVariable[] = "SYMPACK_CMD_AUTORUN";

void Complain(const std::string& text) { std::fputs(text.c_str(), stderr); }

// What failed, in the system's words, for messages of our own.
std::string Reason(int error) { return std::strerror(error); }

// A file name as this system spells it: exactly the name given, since only
// the system may fold letter case.
std::string NativeName(const std::string& name) { return posix::ToNativePath(text::Utf8ToUtf16(name)); }

// A program is looked up as cmd.exe looks it up, and cmd.exe folds case.
std::string ProgramName(const std::string& name) { return posix::ResolveExisting(NativeName(name)); }

bool IsProgram(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file cmd.exe would run for the command name (program_lookup.h), with
// its name as this file system spells it.
std::string FindProgram(const std::string& name) {
  const char* pathExt = std::getenv("PATHEXT");
  const char* path = std::getenv("PATH");
  const std::string found = sympack::cmd::FindProgramFile(
      name, pathExt ? pathExt : sympack::cmd::kDefaultPathExt, path ? path : "", ':',
      [](const std::string& candidate) { return IsProgram(ProgramName(candidate)); });
  if (found.empty()) return {};
  const std::string resolved = ProgramName(found);
  return resolved.find('/') == std::string::npos ? "./" + resolved : resolved;
}

// An environment variable by name, in any letter case.
std::optional<std::string> Variable(std::string_view name) {
  const std::u16string wanted = text::Utf8ToUtf16(name);
  for (char** entry = environ; entry && *entry; ++entry) {
    const std::string_view pair(*entry);
    const auto equals = pair.find('=', 1);
    if (equals == std::string_view::npos) continue;
    if (platform::EqualsIgnoringCase(text::Utf8ToUtf16(pair.substr(0, equals)), wanted)) {
      return std::string(pair.substr(equals + 1));
    }
  }
  return std::nullopt;
}

int OpenOutput(const sympack::cmd::ParsedCommand& parsed) {
  if (!parsed.output) return STDOUT_FILENO;
  const std::string target = NativeName(*parsed.output);
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (parsed.append ? O_APPEND : O_TRUNC);
  const int fd = open(target.c_str(), flags, 0666);
  if (fd < 0) {
    // cmd.exe's own words: a folder that may not be written is not a missing one.
    const bool denied = errno == EACCES || errno == EPERM || errno == EROFS;
    Complain(denied ? "Access is denied.\n" : "The system cannot find the path specified.\n");
  }
  return fd;
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

// Reads `from` to its end, handing each block to `put`. False (with the
// reason told) when a read or a put failed; after a failed put the rest is
// still read, so that a program writing into a pipe can finish.
template <typename Put>
bool CopyBlocks(int from, const std::string& what, Put put) {
  char buffer[kCopyChunk];
  bool written = true;
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof(buffer));
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      Complain("sympack-cmd: reading " + what + " failed: " + Reason(errno) + "\n");
      return false;
    }
    if (written && !put(std::string_view(buffer, static_cast<std::size_t>(n)))) {
      Complain("sympack-cmd: writing the output of " + what + " failed: " + Reason(errno) + "\n");
      written = false;
    }
  }
  return written;
}

bool CopyFile(int from, int to, const std::string& name) {
  return CopyBlocks(from, name, [to](std::string_view block) { return posix::WriteAll(to, block); });
}

// Copies the child's output into the file with Windows' line ends.
bool CopyWithCrLf(int from, int to, const std::string& program) {
  text::LfToCrLf lineEnds;
  return CopyBlocks(from, program, [&](std::string_view block) { return posix::WriteAll(to, lineEnds.Pass(block)); });
}

int TypeFiles(std::string_view names, int out) {
  const auto files = sympack::cmd::SplitTypeNames(names);
  if (files.empty()) {
    Complain("The syntax of the command is incorrect.\n");
    return kExitRefused;
  }
  int status = 0;
  for (const std::string& name : files) {
    if (files.size() > 1) Complain("\n" + name + "\n\n\n");
    // Opening never waits: a FIFO without a writer shows nothing.
    const int fd = open(NativeName(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      if (fd >= 0) close(fd);
      Complain(fd < 0 ? "The system cannot find the file specified.\n" : "Access is denied.\n");
      if (files.size() > 1) Complain("Error occurred while processing: " + name + ".\n");
      status = 1;
      continue;
    }
    // A device shows nothing, as TYPE NUL does on Windows: /dev/zero or
    // /dev/full would never end.
    if (S_ISCHR(info.st_mode)) {
      close(fd);
      continue;
    }
    if (!CopyFile(fd, out, name)) status = 1;
    close(fd);
  }
  return status;
}

// The program's exit status; a failed copy of its output makes a failure of
// a run the program itself called a success.
int Finish(const std::string& program, pid_t child, bool copied) {
  const auto status = posix::WaitForExit(child);
  if (!status) {
    Complain("sympack-cmd: waiting for " + program + " failed: " + Reason(errno) + "\n");
    return kExitRefused;
  }
  return copied || *status != 0 ? *status : kExitRefused;
}

int RunProgram(const std::string& program, std::string_view argumentText, int out) {
  const std::vector<std::string> arguments = sympack::cmd::SplitArguments(argumentText);
  Pipe pipe;
  if (out != STDOUT_FILENO && !pipe.Open()) {
    Complain("sympack-cmd: no pipe for the output of " + program + ": " + Reason(errno) + "\n");
    return kExitRefused;
  }
  const auto child = posix::Spawn(program, arguments, {pipe.write});
  pipe.CloseWrite();
  if (!child) {
    Complain("Access is denied.\n");
    return kExitRefused;
  }
  const bool copied = pipe.read < 0 || CopyWithCrLf(pipe.read, out, program);
  pipe.CloseRead();
  return Finish(program, *child, copied);
}

int RunCommand(std::string_view command, bool delayedExpansion) {
  if (text::Utf8ToUtf16(command).size() > kMaxCommand) {
    Complain("The command line is too long.\n");
    return kExitRefused;
  }
  const auto reading = sympack::cmd::ReadCommand(command, Variable, delayedExpansion);
  const auto& parsed = reading.parsed;
  if (parsed.refused) {
    Complain(std::string("sympack-cmd: '") + *parsed.refused +
             "' (command chaining, pipes, input redirection or blocks) is not supported; nothing was run.\n");
    return kExitRefused;
  }
  // As the Windows interpreter does, the redirection target is created before
  // the command is looked for.
  const int out = OpenOutput(parsed);
  if (out < 0) return kExitRefused;
  const std::string& name = reading.name;
  const std::string_view rest = reading.arguments;
  int status = 0;
  if (platform::EqualsIgnoringCase(text::Utf8ToUtf16(name), u"TYPE")) {
    status = TypeFiles(rest, out);
  } else if (const std::string program = FindProgram(name); !program.empty()) {
    status = RunProgram(program, rest, out);
  } else if (!name.empty()) {
    Complain("'" + name + "' is not recognized as an internal or external command,\n"
             "operable program or batch file.\n");
    status = kExitNotFound;
  }
  if (out != STDOUT_FILENO) close(out);
  return status;
}

// Ended from outside (the tool forwards its own SIGTERM or SIGHUP here), the
// interpreter takes the program it runs with it, as a job's end would:
// nothing keeps running, or writing the report, after the run has ended.
void EndWithProgram(int signalNumber) {
  posix::EndRunningChild(signalNumber, posix::kProgramEndGraceMilliseconds);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signalNumber, &byDefault, nullptr);
  raise(signalNumber);
}

void EndProgramWithInterpreter() {
  struct sigaction action {};
  action.sa_handler = EndWithProgram;
  sigemptyset(&action.sa_mask);
  for (const int s : {SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, s);
  for (const int s : {SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  EndProgramWithInterpreter();
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  const auto interpreterLine = sympack::cmd::ReadInterpreterLine(line);
  if (!interpreterLine) {
    Complain("usage: sympack-cmd [/D] [/V:ON|/V:OFF] [/S] [/Q] /C command\n"
             "  command: TYPE name...  or  program [arguments] [> file]\n");
    return kExitRefused;
  }
  const char* registryDelayed = std::getenv(kDelayedExpansionVariable);
  const bool delayedExpansion =
      interpreterLine->delayedExpansion.value_or(registryDelayed && std::string_view(registryDelayed) == "1");
  const char* autoRun = std::getenv(kAutoRunVariable);
  if (interpreterLine->autoRun && autoRun && *autoRun) RunCommand(autoRun, delayedExpansion);
  const std::string command = sympack::cmd::CommandAfterQuoteRule(
      *interpreterLine, [](std::string_view name) { return !FindProgram(std::string(name)).empty(); });
  return RunCommand(command, delayedExpansion);
}
