// Writing a destination whole or not at all through the Win32 file API. A
// disk file is never truncated and written in place: the new text goes into
// a file of its own in the same folder, is flushed, and takes the name in one
// step: ReplaceFileW over an existing file (which keeps the old file's
// attributes, creation time, ACLs and streams), MoveFileExW for a new name.
// Devices and pipes get the bytes directly, within a time limit. Every call
// runs with the critical-error boxes off.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/name_match.h"
#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

// The longest last part of a name the file systems Windows writes take
// (GetVolumeInformationW's maximum component length on NTFS, FAT32, exFAT).
constexpr std::size_t kLongestNamePart = 255;

// The new file's name in the destination's folder: its own to this process.
constexpr wchar_t kNewFilePrefix[] = L"~sympack-new-";

WholeFileWrite Refused(WriteRefusal why) { return {why, false}; }

WriteRefusal ReasonFor(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteRefusal::kNoSpace;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return WriteRefusal::kNoFolder;
    case ERROR_FILENAME_EXCED_RANGE:
      return WriteRefusal::kNameTooLong;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return WriteRefusal::kFolderRefuses;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
      return WriteRefusal::kHeldOpen;
    case ERROR_PIPE_BUSY:
    case ERROR_PIPE_NOT_CONNECTED:
    case ERROR_NO_DATA:
    case ERROR_BROKEN_PIPE:
      return WriteRefusal::kNobodyReads;
    default:
      return WriteRefusal::kFailed;
  }
}

bool WriteEvery(HANDLE handle, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(handle, data, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// A write to a device or pipe, run on a thread of its own so that it can be
// given up: WriteFile on a pipe nobody reads waits without end. The thread
// owns a copy of everything it uses, since it may outlive the call.
struct DeviceWrite {
  OwnedHandle handle;
  std::string bytes;
  bool done = false;
  DWORD error = 0;
};

DWORD WINAPI WriteOnItsOwnThread(LPVOID parameter) {
  auto* write = static_cast<DeviceWrite*>(parameter);
  write->done = WriteEvery(write->handle.Get(), write->bytes.data(), write->bytes.size());
  if (!write->done) write->error = GetLastError();
  return 0;
}

WholeFileWrite WriteDirectly(OwnedHandle handle, std::string_view bytes) {
  auto write = std::make_unique<DeviceWrite>();
  write->handle = std::move(handle);
  write->bytes = bytes;
  const OwnedHandle thread(CreateThread(nullptr, 0, WriteOnItsOwnThread, write.get(), 0, nullptr));
  if (!thread.IsOpen()) return Refused(WriteRefusal::kFailed);
  if (WaitForSingleObject(thread.Get(), kDeviceWriteLimitMilliseconds) != WAIT_OBJECT_0) {
    // Given up: the waiting write is cancelled. Should the system not end
    // it, the thread keeps what it uses, and the run goes on without it.
    CancelSynchronousIo(thread.Get());
    if (WaitForSingleObject(thread.Get(), 1000) != WAIT_OBJECT_0) write.release();
    return Refused(WriteRefusal::kTimedOut);
  }
  return Refused(write->done ? WriteRefusal::kNone : ReasonFor(write->error));
}

std::wstring FolderOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// The full path (ReplaceFileW takes no relative one) and, for an existing
// file, its last part as the folder stores it: the replacement takes the
// name it is given, letter case included, and the user's file keeps its own.
std::wstring FullPath(const std::wstring& path, bool exists) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  WIN32_FIND_DATAW found{};
  const HANDLE search = exists ? FindFirstFileW(full.c_str(), &found) : INVALID_HANDLE_VALUE;
  if (search == INVALID_HANDLE_VALUE) return full;
  FindClose(search);
  return FolderOf(full) + found.cFileName;
}

// The new text as a file of its own beside `path`, flushed, then put in its
// place. `exists`: an earlier file stands under the name.
WholeFileWrite Replace(const std::wstring& typed, std::string_view bytes, bool exists) {
  const std::wstring path = FullPath(typed, exists);
  const DWORD oldAttributes = exists ? GetFileAttributesW(path.c_str()) : INVALID_FILE_ATTRIBUTES;
  std::wstring newName;
  OwnedHandle file;
  for (unsigned attempt = 0; !file.IsOpen(); ++attempt) {
    newName = FolderOf(path) + kNewFilePrefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(attempt) + L".tmp";
    file = OwnedHandle(CreateFileW(newName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (!file.IsOpen() && GetLastError() != ERROR_FILE_EXISTS) return Refused(ReasonFor(GetLastError()));
  }
  bool done = WriteEvery(file.Get(), bytes.data(), bytes.size()) && FlushFileBuffers(file.Get());
  DWORD error = done ? ERROR_SUCCESS : GetLastError();
  file.Reset();
  if (done && exists) {
    // The old file's attributes and ACLs carry over where they can: without
    // the right to set the ACL, the text is still replaced (merge errors are
    // not failures). No backup file is asked for.
    done = ReplaceFileW(path.c_str(), newName.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    error = done ? ERROR_SUCCESS : GetLastError();
    // Here the old file is gone already and the new one still has its own
    // name: the new text, whole, takes the name.
    if (!done && error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
      done = MoveFileExW(newName.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
      if (!done) error = GetLastError();
    }
  } else if (done) {
    done = MoveFileExW(newName.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    error = done ? ERROR_SUCCESS : GetLastError();
  }
  if (!done) {
    DeleteFileW(newName.c_str());
    return Refused(ReasonFor(error));
  }
  // ReplaceFileW carries the attributes over; set once more, they hold
  // where a file system (or Wine) merges less.
  if (exists && oldAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), oldAttributes);
  return {WriteRefusal::kNone, true};
}

}  // namespace

WholeFileWrite Win32System::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
  // AUX.INC looks like a file and is the device: it would take the text and
  // keep none (or wait on a port).
  if (IsDeviceNameWithExtension(path)) return Refused(WriteRefusal::kReservedName);
  const std::wstring name = ToWide(path);
  // The system calls a last part longer than any file system takes an
  // invalid name (or another error); it is one too long, and never cut.
  if (name.size() - FolderOf(name).size() > kLongestNamePart) return Refused(WriteRefusal::kNameTooLong);
  const CriticalErrorsOff quiet;
  // Asked first: Wine run as root opens a read-only file for writing.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Refused(WriteRefusal::kFolder);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return Refused(WriteRefusal::kReadOnly);
  }
  // Opened without waiting and without changing it, to learn what stands
  // under the name: a device or pipe is written through this handle.
  OwnedHandle existing(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (existing.IsOpen()) {
    if (GetFileType(existing.Get()) != FILE_TYPE_DISK) return WriteDirectly(std::move(existing), bytes);
    existing.Reset();
    return Replace(name, bytes, true);
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND) return Replace(name, bytes, false);
  if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES) return Refused(WriteRefusal::kReadOnly);
  return Refused(ReasonFor(error));
}

}  // namespace sympack::platform::win32
