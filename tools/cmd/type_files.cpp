#include "type_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cmd_output.h"
#include "command_parser.h"
#include "platform/posix/process.h"

namespace sympack::cmd {
namespace {

constexpr int kFailed = 1;

bool CopyFile(int from, int to, const std::string& name) {
  return CopyBlocks(from, name, [to](std::string_view block) { return platform::posix::WriteAll(to, block); });
}

}  // namespace

int TypeFiles(std::string_view names, int out) {
  const auto files = SplitTypeNames(names);
  if (files.empty()) {
    Complain("The syntax of the command is incorrect.\n");
    return kFailed;
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
      status = kFailed;
      continue;
    }
    if (!CopyFile(fd, out, name)) status = kFailed;
    close(fd);
  }
  return status;
}

}  // namespace sympack::cmd
