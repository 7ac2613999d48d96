// sympack-cmd: the command interpreter that stands in on POSIX systems for the
// one Windows names in "comspec". It runs one command given after /C: TYPE
// with file names, or a program by bare name (found in the current folder
// first, with or without an .EXE ending in any letter case, then on PATH),
// with > redirection. Redirected program output gets CR LF line ends, the text
// convention of the platform it stands in for.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_parser.h"
#include "platform/name_match.h"
#include "platform/posix/paths.h"
#include "text/utf.h"

extern char** environ;

namespace {

using namespace sympack;

constexpr int kExitRefused = 1;
constexpr int kExitNotFound = 127;
constexpr int kSignalExitBase = 128;
constexpr std::string_view kExeEnding = ".EXE";

void Complain(const std::string& text) { std::fputs(text.c_str(), stderr); }

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string NativeName(const std::string& name) {
  return platform::posix::ResolveExisting(platform::posix::ToNativePath(text::Utf8ToUtf16(name)));
}

bool IsProgram(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWithExe(const std::string& name) {
  return name.size() >= kExeEnding.size() &&
         platform::EqualsIgnoringCase(text::Utf8ToUtf16(name.substr(name.size() - kExeEnding.size())),
                                      text::Utf8ToUtf16(kExeEnding));
}

std::string FindInFolder(const std::string& name) {
  for (const std::string& candidate : {name, name + std::string(kExeEnding)}) {
    const std::string resolved = NativeName(candidate);
    if (IsProgram(resolved)) return resolved.find('/') == std::string::npos ? "./" + resolved : resolved;
    if (EndsWithExe(name)) break;
  }
  return {};
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (std::string found = FindInFolder(name); !found.empty()) return found;
  if (name.find_first_of("/\\") != std::string::npos) return {};
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "";
  while (!dirs.empty()) {
    const auto colon = dirs.find(':');
    const std::string dir(dirs.substr(0, colon));
    if (!dir.empty()) {
      const std::string candidate = dir + "/" + name;
      if (IsProgram(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return {};
}

int OpenOutput(const sympack::cmd::ParsedCommand& parsed) {
  if (!parsed.output) return STDOUT_FILENO;
  const std::string target = NativeName(*parsed.output);
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (parsed.append ? O_APPEND : O_TRUNC);
  const int fd = open(target.c_str(), flags, 0666);
  if (fd < 0) Complain("The system cannot find the path specified.\n");
  return fd;
}

int TypeFiles(std::string_view names, int out) {
  const auto files = sympack::cmd::SplitArguments(names);
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
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof(buffer))) > 0) {
      if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) break;
    }
    close(fd);
  }
  return status;
}

// Copies the child's output into the file, writing each LF that does not
// follow a CR as CR LF.
void CopyWithCrLf(int from, int to) {
  char buffer[65536];
  std::string converted;
  bool afterCr = false;
  ssize_t n;
  while ((n = read(from, buffer, sizeof(buffer))) != 0) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    converted.clear();
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n' && !afterCr) converted += '\r';
      converted += buffer[i];
      afterCr = buffer[i] == '\r';
    }
    WriteAll(to, converted.data(), converted.size());
  }
}

int RunProgram(const std::string& program, std::string_view argumentText, int out) {
  std::vector<std::string> arguments = sympack::cmd::SplitArguments(argumentText);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipeEnds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out != STDOUT_FILENO) {
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return kExitRefused;
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  }
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (pipeEnds[1] >= 0) close(pipeEnds[1]);
  if (failed != 0) {
    if (pipeEnds[0] >= 0) close(pipeEnds[0]);
    Complain("Access is denied.\n");
    return kExitRefused;
  }
  if (pipeEnds[0] >= 0) {
    CopyWithCrLf(pipeEnds[0], out);
    close(pipeEnds[0]);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return kSignalExitBase + WTERMSIG(status);
}

int RunCommand(std::string_view command) {
  const auto parsed = sympack::cmd::ParseCommand(command);
  if (parsed.refused) {
    Complain(std::string("sympack-cmd: '") + *parsed.refused +
             "' (command chaining or input redirection) is not supported; nothing was run.\n");
    return kExitRefused;
  }
  // As the Windows interpreter does, the redirection target is created before
  // the command is looked for.
  const int out = OpenOutput(parsed);
  if (out < 0) return kExitRefused;
  std::string_view rest;
  const std::string name = sympack::cmd::FirstWord(parsed.text, rest);
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

}  // namespace

int main(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  const auto command = sympack::cmd::AfterSwitch(line);
  if (!command) {
    Complain("usage: sympack-cmd /C command\n"
             "  command: TYPE name...  or  program [arguments] [> file]\n");
    return kExitRefused;
  }
  return RunCommand(*command);
}
