// Whether another process holds a file open, asked through Linux's leases.
#pragma once

#include <fcntl.h>

#include <cerrno>

namespace sympack::platform::posix {

// True when another open of the file stands in the way of a lease of
// `leaseType` on `fd` (F_SETLEASE is Linux's own: a port to another system
// must find another way): a write lease needs every other open of the file
// gone, a read lease every writer. Windows refuses to delete a file another
// handle holds open for writing; a `| tee FST4.INC` or a shell's
// `3> FST4.INC` is such a writer, and removed or replaced under it the file
// would take the writer's text with it. Only EAGAIN says "held"; where leases
// are not allowed (another owner's file, some file systems) the system cannot
// tell, and the caller goes on.
inline bool HeldOpenElsewhere(int fd, int leaseType) {
  if (fcntl(fd, F_SETLEASE, leaseType) == 0) {
    fcntl(fd, F_SETLEASE, F_UNLCK);
    return false;
  }
  return errno == EAGAIN;
}

}  // namespace sympack::platform::posix
