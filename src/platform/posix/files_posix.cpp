// Directory searches, deletion and file handles on POSIX. Names are exact, as
// the system takes them: a name never reaches a file spelt otherwise. Windows
// semantics are kept where the tool relies on them: a file without any write
// permission counts as read-only (even for root), and a file opened "without
// sharing" holds an exclusive lock that a second such open cannot get, and is
// not opened for writing while another process holds it open.
//
// The locks are flock's (the BSDs' and Linux's; not in POSIX): POSIX's fcntl
// record locks belong to the process, so they would let a second open of the
// same process through, and closing any descriptor of the file drops them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <cerrno>

#include "platform/name_match.h"
#include "platform/platform.h"
#include "platform/posix/abnormal_end.h"
#include "platform/posix/interrupted.h"
#include "platform/posix/paths.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

bool IsReadOnly(const struct stat& info) {
  return S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DirectoryEntry EntryFor(const std::string& directory, const std::string& name) {
  DirectoryEntry entry;
  entry.name = text::Utf8ToUtf16(name);
  entry.hidden = !name.empty() && name[0] == '.' && name != "." && name != "..";
  struct stat info {};
  const std::string full = (directory.empty() ? "" : directory) + name;
  if (stat(full.c_str(), &info) == 0) {
    entry.directory = S_ISDIR(info.st_mode);
    entry.system = !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
  } else {
    entry.system = true;  // a dangling link: nothing that can be used as a file
  }
  return entry;
}

// Windows refuses to open a file for writing without sharing while any other
// handle holds it open, and to delete a file held open for writing. Linux
// tells the same by refusing a lease (F_SETLEASE is Linux's own: a port to
// another system must find another way): a write lease needs every other
// open of the file gone, a read lease every writer. `| tee FST4.INC` or a
// shell's `3> FST4.INC` holds the file: written under the holder's feet it
// would get NUL bytes where the holder's offset lies beyond the new end, and
// removed it would take the holder's text with it. Only EAGAIN says "held"; where
// leases are not allowed (another owner's file, some file systems) the
// system cannot tell, and the operation goes on.
bool HeldOpenElsewhere(int fd, int leaseType) {
  if (fcntl(fd, F_SETLEASE, leaseType) == 0) {
    fcntl(fd, F_SETLEASE, F_UNLCK);
    return false;
  }
  return errno == EAGAIN;
}

// Opens and locks the file as Windows share mode 0 would hold it. The open
// never waits: a FIFO without a reader, or a device waiting for a carrier,
// fails or opens at once; reads and writes wait as usual afterwards.
File OpenExclusive(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return File();
  File file(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return File();
  if (S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) != 0) return File();
  if (S_ISREG(info.st_mode) && (flags & O_ACCMODE) == O_WRONLY && HeldOpenElsewhere(fd, F_WRLCK)) {
    return File();
  }
  const int status = fcntl(fd, F_GETFL);
  if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) return File();
  return file;
}

// The file to remove on SIGTERM or SIGHUP, kept where a signal handler may
// read it: a fixed buffer, and a flag set only once the buffer is complete.
char g_abnormalEndPath[PATH_MAX];
volatile sig_atomic_t g_abnormalEndPathSet = 0;

int Fd(const File& file) { return static_cast<int>(file.Handle()); }

}  // namespace

struct EntrySearch::State {
  std::string directory;
  std::u16string pattern;
  DIR* dir = nullptr;
  std::optional<std::string> single;  // a name without wildcards: at most one match
};

EntrySearch::EntrySearch(std::u16string_view pattern) : state_(new State) {
  const std::string path = sympack::posix::ToNativePath(pattern);
  auto [directory, last] = sympack::posix::SplitLast(path);
  state_->directory = directory;
  state_->pattern = text::Utf8ToUtf16(last);
  if (last.empty()) return;
  if (!HasWildcards(state_->pattern)) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) state_->single = last;
    return;
  }
  state_->dir = opendir(directory.empty() ? "." : directory.c_str());
}

EntrySearch::~EntrySearch() {
  if (state_->dir) closedir(state_->dir);
  delete state_;
}

std::optional<DirectoryEntry> EntrySearch::Next() {
  if (state_->single) {
    const std::string name = *state_->single;
    state_->single.reset();
    return EntryFor(state_->directory, name);
  }
  if (!state_->dir) return std::nullopt;
  while (const dirent* entry = readdir(state_->dir)) {
    if (MatchesNamePattern(text::Utf8ToUtf16(entry->d_name), state_->pattern, LetterCase::kExact)) {
      return EntryFor(state_->directory, entry->d_name);
    }
  }
  return std::nullopt;
}

bool DeleteFileByName(std::u16string_view path) {
  const std::string native = sympack::posix::ToNativePath(path);
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

void RemoveAtAbnormalEnd(std::u16string_view path) {
  g_abnormalEndPathSet = 0;
  const std::string native = sympack::posix::ToNativePath(path);
  if (native.empty() || native.size() >= sizeof(g_abnormalEndPath)) return;
  std::memcpy(g_abnormalEndPath, native.c_str(), native.size() + 1);
  g_abnormalEndPathSet = 1;
}

namespace posix {

void RemoveAbnormalEndFile() {
  if (g_abnormalEndPathSet) unlink(g_abnormalEndPath);
}

}  // namespace posix

bool ClaimCurrentFolder() {
  // An advisory lock on the directory itself: no file is made, and the
  // system drops the lock with the process. Children do not inherit it.
  const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // nothing to lock with: the system cannot tell
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;  // held until the process ends
  const bool heldElsewhere = errno == EWOULDBLOCK;
  close(fd);
  return !heldElsewhere;
}

void File::Close() {
  if (handle_ != kInvalid) close(static_cast<int>(handle_));
  handle_ = kInvalid;
}

File OpenForReading(std::u16string_view path) {
  return OpenExclusive(sympack::posix::ToNativePath(path), O_RDONLY);
}

File OpenOrCreateForWriting(std::u16string_view path) {
  const std::string native = sympack::posix::ToNativePath(path);
  struct stat info {};
  if (stat(native.c_str(), &info) == 0 && IsReadOnly(info)) return File();
  return OpenExclusive(native, O_WRONLY | O_CREAT);
}

bool IsDiskFile(const File& file) {
  struct stat info {};
  return file.IsOpen() && fstat(Fd(file), &info) == 0 && S_ISREG(info.st_mode);
}

bool TruncateToStart(const File& file) {
  return lseek(Fd(file), 0, SEEK_SET) == 0 && ftruncate(Fd(file), 0) == 0;
}

bool TruncateHere(const File& file) {
  const off_t here = lseek(Fd(file), 0, SEEK_CUR);
  return here >= 0 && ftruncate(Fd(file), here) == 0;
}

std::optional<std::size_t> ReadBytes(const File& file, char* buffer, std::size_t size) {
  const ssize_t n = posix::RetryWhileInterrupted([&] { return read(Fd(file), buffer, size); });
  if (n < 0) return std::nullopt;
  return static_cast<std::size_t>(n);
}

std::optional<std::size_t> WriteBytes(const File& file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = posix::RetryWhileInterrupted(
        [&] { return write(Fd(file), bytes.data() + done, bytes.size() - done); });
    if (n <= 0) return done == 0 ? std::nullopt : std::optional<std::size_t>(done);
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::u16string NameAsCreated(std::u16string_view path) { return std::u16string(path); }

bool NamesSameFile(std::u16string_view first, std::u16string_view second) {
  struct stat a {}, b {};
  return stat(sympack::posix::ToNativePath(first).c_str(), &a) == 0 &&
         stat(sympack::posix::ToNativePath(second).c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool NamesStandardOutputOrError(std::u16string_view path) {
  struct stat named {};
  if (stat(sympack::posix::ToNativePath(path).c_str(), &named) != 0) return false;
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat stream {};
    if (fstat(fd, &stream) == 0 && stream.st_dev == named.st_dev && stream.st_ino == named.st_ino) return true;
  }
  return false;
}

std::u16string LongNameOf(std::u16string_view path) { return std::u16string(path); }

bool FolderRefusesNewFile(std::u16string_view path) {
  const std::string folder = sympack::posix::SplitLast(sympack::posix::ToNativePath(path)).first;
  // Asked of the folder itself, with this process's own rights: nothing is
  // made to find out.
  if (faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return false;
  return errno == EACCES || errno == EPERM || errno == EROFS;
}

}  // namespace sympack::platform
