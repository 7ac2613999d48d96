#include "cmd_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/posix/interrupted.h"
#include "platform/posix/paths.h"
#include "text/utf.h"

namespace sympack::cmd {
namespace {

constexpr std::size_t kCopyChunk = 65536;

}  // namespace

void Complain(const std::string& text) { std::fputs(text.c_str(), stderr); }

std::string Reason(int error) { return std::strerror(error); }

std::string NativeName(const std::string& name) { return platform::posix::ToNativePath(text::Utf8ToUtf16(name)); }

// The redirection target is opened without following a link and without
// waiting, and only a regular file is written (and only then emptied): a
// link or a pipe planted under the name after the tool's check (the report's
// name, say) leads nowhere else, and nothing waits on a pipe's reader.
int OpenOutput(const ParsedCommand& parsed) {
  if (!parsed.output) return STDOUT_FILENO;
  const std::string target = NativeName(*parsed.output);
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | (parsed.append ? O_APPEND : 0);
  int fd = open(target.c_str(), flags, 0666);
  if (fd >= 0) {
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!regular || (!parsed.append && ftruncate(fd, 0) != 0) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      close(fd);
      fd = -1;
      errno = EACCES;
    }
  }
  if (fd < 0) {
    // cmd.exe's own words: a folder that may not be written, or a name that
    // is no file, is not a missing one.
    const bool denied = errno == EACCES || errno == EPERM || errno == EROFS || errno == ELOOP ||
                        errno == EISDIR || errno == ENXIO;
    Complain(denied ? "Access is denied.\n" : "The system cannot find the path specified.\n");
  }
  return fd;
}

bool CopyBlocks(int from, const std::string& what, const std::function<bool(std::string_view)>& put) {
  char buffer[kCopyChunk];
  bool written = true;
  for (;;) {
    const ssize_t n = platform::posix::RetryWhileInterrupted([&] { return ::read(from, buffer, sizeof(buffer)); });
    if (n == 0) break;
    if (n < 0) {
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

}  // namespace sympack::cmd
