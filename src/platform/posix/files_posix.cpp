// Directory searches, deletion and file handles on POSIX. Names are exact, as
// the system takes them: a name never reaches a file spelt otherwise, and a
// backslash is a character of it like any other. A file without any write
// permission counts as read-only (even for root), as the tool tells the user
// so; the report, while the run reads it, holds an exclusive advisory lock
// that another run of the tool cannot get and a viewer never meets.
//
// The locks are flock's (the BSDs' and Linux's; not in POSIX): POSIX's fcntl
// record locks belong to the process, so they would let a second open of the
// same process through, and closing any descriptor of the file drops them.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/posix/held_open.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/paths.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/signal_state.h"
#include "text/utf.h"

namespace sympack::platform::posix {
namespace {

bool IsReadOnly(const struct stat& info) {
  return S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DirectoryEntry EntryFor(const std::string& directory, const std::string& name) {
  DirectoryEntry entry;
  entry.name = text::Utf8ToUtf16(name);
  const bool dotName = !name.empty() && name[0] == '.';
  struct stat info {};
  const std::string full = (directory.empty() ? "" : directory) + name;
  // A dangling link fails stat: nothing that can be used as a file.
  entry.plainFile = !dotName && stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  return entry;
}

// A descriptor closed when dropped.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// The report, read under its exclusive lock.
class ExclusiveFile final : public OpenFile {
 public:
  explicit ExclusiveFile(int fd) : fd_(fd) {}

  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    const ssize_t n = RetryWhileInterrupted([&] { return read(fd_.Get(), buffer, size); });
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
  }

 private:
  Descriptor fd_;
};

// Opens the file and takes its exclusive lock. The open
// never waits: a FIFO without a writer, or a device waiting for a carrier,
// fails or opens at once; reads wait as usual afterwards. A link is not
// followed (the report is the file the interpreter made under its name), and
// only a regular file with one name is read: a file planted as the report
// between the tool's check and the interpreter's redirection is never read
// for it.
std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return nullptr;
  auto file = std::make_unique<ExclusiveFile>(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) return nullptr;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return nullptr;
  const int status = fcntl(fd, F_GETFL);
  if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) return nullptr;
  return file;
}

}  // namespace

// Names are exact: the one entry is the name itself, if anything stands there.
std::optional<DirectoryEntry> PosixSystem::FindEntry(std::u16string_view name) {
  const std::string path = posix::ToNativePath(name);
  const auto [directory, last] = posix::SplitLast(path);
  struct stat info {};
  if (last.empty() || lstat(path.c_str(), &info) != 0) return std::nullopt;
  return EntryFor(directory, last);
}

bool PosixSystem::DeleteFileByName(std::u16string_view path) {
  const std::string native = posix::ToNativePath(path);
  struct stat info {};
  if (lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode) || IsReadOnly(info)) return false;
  // A file another handle holds without sharing, or another program holds
  // open for writing, cannot be deleted.
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd >= 0) {
    const bool locked = S_ISREG(info.st_mode) &&
                        (flock(fd, LOCK_EX | LOCK_NB) != 0 || HeldOpenElsewhere(fd, F_RDLCK));
    close(fd);
    if (locked) return false;
  }
  return unlink(native.c_str()) == 0;
}

void PosixSystem::RemoveAtAbnormalEnd(std::u16string_view path) {
  posix::PublishAbnormalEndFile(path.empty() ? std::string() : posix::ToNativePath(path));
}

bool PosixSystem::ClaimCurrentFolder() {
  // An advisory lock on the directory itself: no file is made, and the
  // system drops the lock with the process. Children do not inherit it.
  const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // nothing to lock with: the system cannot tell
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;  // held until the process ends
  const bool heldElsewhere = errno == EWOULDBLOCK;
  close(fd);
  return !heldElsewhere;
}

std::unique_ptr<OpenFile> PosixSystem::OpenForReading(std::u16string_view path) {
  return OpenExclusive(posix::ToNativePath(path));
}

std::u16string PosixSystem::NameAsCreated(std::u16string_view path) { return std::u16string(path); }

bool PosixSystem::NamesSameFile(std::u16string_view first, std::u16string_view second) {
  struct stat a {}, b {};
  return stat(posix::ToNativePath(first).c_str(), &a) == 0 &&
         stat(posix::ToNativePath(second).c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool PosixSystem::NamesStandardOutputOrError(std::u16string_view path) {
  struct stat named {};
  if (stat(posix::ToNativePath(path).c_str(), &named) != 0) return false;
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat stream {};
    if (fstat(fd, &stream) == 0 && stream.st_dev == named.st_dev && stream.st_ino == named.st_ino) return true;
  }
  return false;
}

std::u16string PosixSystem::ListedName(std::u16string_view path) { return std::u16string(path); }

bool PosixSystem::FolderRefusesNewFile(std::u16string_view path) {
  const std::string folder = posix::SplitLast(posix::ToNativePath(path)).first;
  // Asked of the folder itself, with this process's own rights: nothing is
  // made to find out.
  if (faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return false;
  return errno == EACCES || errno == EPERM || errno == EROFS;
}

}  // namespace sympack::platform::posix
