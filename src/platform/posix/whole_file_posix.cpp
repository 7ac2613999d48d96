// Writing a destination whole or not at all on POSIX. A disk file is never
// truncated and written in place: a full disk, a quota, a file-size limit or
// a kill half-way would leave neither the old text nor the new one. The new
// text goes into a file of its own in the same folder, is flushed, and takes
// the name by rename(), which replaces the old file in one step. Devices and
// pipes have no folder to do that in: they get the bytes directly, with a
// deadline, since a reader that never reads would hold the run for ever.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/posix/held_open.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/paths.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/signal_state.h"

namespace sympack::platform::posix {
namespace {

// As many links as the kernel follows in one path (Linux's MAXSYMLINKS).
constexpr int kMaxLinks = 40;
// The new file's name in the destination's folder: hidden, short (a
// destination name near NAME_MAX leaves no room for more) and the process's
// own.
constexpr char kNewFilePrefix[] = ".sympack-new-";

WholeFileWrite Refused(WriteRefusal why) { return {why, false}; }

// The reason for an errno from making or writing the file.
WriteRefusal ReasonFor(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return WriteRefusal::kNoSpace;
    case EFBIG:
      return WriteRefusal::kSizeLimit;
    case ENOENT:
    case ENOTDIR:
      return WriteRefusal::kNoFolder;
    case ENAMETOOLONG:
      return WriteRefusal::kNameTooLong;
    case EACCES:
    case EPERM:
    case EROFS:
      return WriteRefusal::kFolderRefuses;
    case EISDIR:
      return WriteRefusal::kFolder;
    case ENXIO:
      return WriteRefusal::kNobodyReads;
    default:
      return WriteRefusal::kFailed;
  }
}

// The name a destination stands for once its links are followed: a link is
// written through, so the file that changes is its target, in the target's
// folder. A dangling link gives the name its target would have. Empty after
// too many links (a loop).
std::string ThroughLinks(std::string path) {
  for (int followed = 0; followed <= kMaxLinks; ++followed) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return {};
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : posix::SplitLast(path).first + target;
  }
  return {};
}

// The new file under a name of its own in `folder`, made with `mode` (the
// old file's bits, or what a new file gets under the umask).
int MakeNewFile(const std::string& folder, std::string& name, mode_t mode) {
  for (unsigned attempt = 0;; ++attempt) {
    name = folder + kNewFilePrefix + std::to_string(getpid()) + "-" + std::to_string(attempt);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
}

bool WriteEvery(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = RetryWhileInterrupted([&] { return write(fd, bytes.data(), bytes.size()); });
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The new text as a file of its own, put in the place of `target` (which
// may not exist yet). `old` is the file replaced, when there is one.
WholeFileWrite Replace(const std::string& target, std::string_view bytes, const struct stat* old) {
  const std::string folder = posix::SplitLast(target).first;
  std::string newName;
  const int fd = MakeNewFile(folder, newName, old ? (old->st_mode & 07777) : 0666);
  if (fd < 0) return Refused(ReasonFor(errno));
  bool done = true;
  if (old) {
    // The owner first (as root, the file stays its owner's), then the bits,
    // which a change of owner may have cleared. Where the owner cannot be
    // kept, the bits still are.
    if (fchown(fd, old->st_uid, old->st_gid) != 0) (void)fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    done = fchmod(fd, old->st_mode & 07777) == 0;
  }
  int error = 0;
  {
    // Past the file-size limit the write fails (EFBIG) rather than ending
    // the run, and the old file stays.
    posix::WriteSignalsHeld held;
    done = done && WriteEvery(fd, bytes) && fsync(fd) == 0;
    error = errno;
    if (!done) held.NoteFailure(error);
  }
  if (close(fd) != 0 && done) {
    done = false;
    error = errno;
  }
  if (done && rename(newName.c_str(), target.c_str()) != 0) {
    done = false;
    error = errno;
  }
  if (!done) {
    unlink(newName.c_str());
    return Refused(ReasonFor(error));
  }
  // The rename itself reaches the disk with the folder's own flush.
  const int directory = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return {WriteRefusal::kNone, true};
}

int MillisecondsSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int>((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000);
}

// A pipe or device: opened and written without blocking, waiting for room
// at most kDeviceWriteLimitMilliseconds in all.
WholeFileWrite WriteDirectly(const std::string& target, std::string_view bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Refused(ReasonFor(errno));
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  WriteRefusal result = WriteRefusal::kNone;
  // A pipe whose reader has gone fails the write (EPIPE) rather than ending
  // the run.
  posix::WriteSignalsHeld held;
  while (!bytes.empty()) {
    const ssize_t n = RetryWhileInterrupted([&] { return write(fd, bytes.data(), bytes.size()); });
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      held.NoteFailure(errno);
      result = ReasonFor(errno);
      break;
    }
    const int left = static_cast<int>(kDeviceWriteLimitMilliseconds) - MillisecondsSince(start);
    pollfd room{fd, POLLOUT, 0};
    if (left <= 0 || RetryWhileInterrupted([&] { return poll(&room, 1, left); }) <= 0) {
      result = WriteRefusal::kTimedOut;
      break;
    }
  }
  close(fd);
  return Refused(result);
}

bool IsReadOnly(const struct stat& info) { return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

}  // namespace

WholeFileWrite PosixSystem::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
  const std::string target = ThroughLinks(posix::ToNativePath(path));
  if (target.empty()) return Refused(WriteRefusal::kFailed);
  struct stat info {};
  if (lstat(target.c_str(), &info) != 0) {
    if (errno != ENOENT) return Refused(ReasonFor(errno));
    return Replace(target, bytes, nullptr);
  }
  if (S_ISDIR(info.st_mode)) return Refused(WriteRefusal::kFolder);
  if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) return WriteDirectly(target, bytes);
  if (!S_ISREG(info.st_mode)) return Refused(WriteRefusal::kNotAFile);
  // A file without any write permission is read-only, as Windows' attribute
  // makes it, even for root.
  if (IsReadOnly(info)) return Refused(WriteRefusal::kReadOnly);
  if (access(target.c_str(), W_OK) != 0) return Refused(WriteRefusal::kReadOnly);
  // Only a writer elsewhere stands in the way (`| tee FST4.INC` would go on
  // writing into a file no longer there); a viewer keeps the old text it has
  // open, and the name gets the new one.
  const int fd = open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    const bool held = HeldOpenElsewhere(fd, F_RDLCK);
    close(fd);
    if (held) return Refused(WriteRefusal::kHeldOpen);
  }
  return Replace(target, bytes, &info);
}

}  // namespace sympack::platform::posix
