// Directory searches, deletion and file handles through the Win32 file API.
// Every call runs with the critical-error boxes off, so a drive that is not
// ready makes the call fail instead of stopping the run with a dialog.
#include <windows.h>

#include <cwchar>
#include <limits>

#include "platform/name_match.h"
#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {
namespace {

using win32::CriticalErrorsOff;

// The DOS volume-label attribute bit. Win32 searches never report it for a
// file, but an entry carrying it is no file the tool may use.
constexpr DWORD kVolumeLabelAttribute = 0x08;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Native(const File& file) { return reinterpret_cast<HANDLE>(file.Handle()); }

DWORD ClampToDword(std::size_t size) {
  constexpr std::size_t kMax = std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(size > kMax ? kMax : size);
}

DirectoryEntry EntryFrom(const WIN32_FIND_DATAW& found) {
  DirectoryEntry entry;
  entry.name = win32::FromWide(found.cFileName, wcslen(found.cFileName));
  const DWORD attributes = found.dwFileAttributes;
  entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  entry.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
  entry.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.volumeLabel = (attributes & kVolumeLabelAttribute) != 0;
  return entry;
}

// The files the tool opens itself are not inheritable (no security
// attributes): a child started while a standard stream is redirected
// inherits handles, and must get only the standard ones.
File OpenFile(std::u16string_view path, DWORD access, DWORD disposition) {
  const std::wstring name = win32::ToWide(path);
  const CriticalErrorsOff quiet;
  const HANDLE handle = CreateFileW(name.c_str(), access, 0, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return File();
  return File(reinterpret_cast<std::intptr_t>(handle));
}

// Volume and file index together name one file, whatever path reached it.
std::optional<BY_HANDLE_FILE_INFORMATION> Identity(std::u16string_view path) {
  const std::wstring name = win32::ToWide(path);
  const CriticalErrorsOff quiet;
  // Backup semantics let a directory be opened too.
  const win32::OwnedHandle handle(CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.IsOpen() || !GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
  return info;
}

}  // namespace

// ---- Directory searches ----------------------------------------------------------

namespace {

// A FindFirstFileW search, ended with FindClose.
class SearchHandle {
 public:
  SearchHandle(const std::wstring& pattern, WIN32_FIND_DATAW& found) {
    const CriticalErrorsOff quiet;
    handle_ = FindFirstFileW(pattern.c_str(), &found);
  }
  ~SearchHandle() {
    if (IsOpen()) FindClose(handle_);
  }
  SearchHandle(const SearchHandle&) = delete;
  SearchHandle& operator=(const SearchHandle&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool FindNext(WIN32_FIND_DATAW& found) const {
    const CriticalErrorsOff quiet;
    return IsOpen() && FindNextFileW(handle_, &found) != FALSE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

struct EntrySearch::State {
  explicit State(const std::wstring& pattern) : search(pattern, found), firstWaiting(search.IsOpen()) {}
  WIN32_FIND_DATAW found{};
  SearchHandle search;
  bool firstWaiting;  // FindFirstFileW's entry, not yet handed out
};

EntrySearch::EntrySearch(std::u16string_view pattern) : state_(new State(win32::ToWide(pattern))) {}

EntrySearch::~EntrySearch() { delete state_; }

std::optional<DirectoryEntry> EntrySearch::Next() {
  if (state_->firstWaiting) {
    state_->firstWaiting = false;
    return EntryFrom(state_->found);
  }
  if (!state_->search.FindNext(state_->found)) return std::nullopt;
  return EntryFrom(state_->found);
}

bool DeleteFileByName(std::u16string_view path) {
  const std::wstring name = win32::ToWide(path);
  const CriticalErrorsOff quiet;
  return DeleteFileW(name.c_str()) != FALSE;
}

// ---- File handles ----------------------------------------------------------------

void File::Close() {
  if (handle_ != kInvalid) {
    const CriticalErrorsOff quiet;
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
  }
  handle_ = kInvalid;
}

File OpenForReading(std::u16string_view path) { return OpenFile(path, GENERIC_READ, OPEN_EXISTING); }

File OpenOrCreateForWriting(std::u16string_view path) {
  return OpenFile(path, GENERIC_WRITE, OPEN_ALWAYS);
}

bool IsDiskFile(const File& file) {
  if (!file.IsOpen()) return false;
  const CriticalErrorsOff quiet;
  return GetFileType(Native(file)) == FILE_TYPE_DISK;
}

bool TruncateToStart(const File& file) {
  const CriticalErrorsOff quiet;
  // Position 0 is also a valid result, so only the failure value counts.
  if (SetFilePointer(Native(file), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  return SetEndOfFile(Native(file)) != FALSE;
}

bool TruncateHere(const File& file) {
  const CriticalErrorsOff quiet;
  return SetEndOfFile(Native(file)) != FALSE;
}

std::optional<std::size_t> ReadBytes(const File& file, char* buffer, std::size_t size) {
  DWORD got = 0;
  const CriticalErrorsOff quiet;
  if (!ReadFile(Native(file), buffer, ClampToDword(size), &got, nullptr)) return std::nullopt;
  return got;
}

std::optional<std::size_t> WriteBytes(const File& file, std::string_view bytes) {
  DWORD written = 0;
  const CriticalErrorsOff quiet;
  if (!WriteFile(Native(file), bytes.data(), ClampToDword(bytes.size()), &written, nullptr)) {
    return std::nullopt;
  }
  return written;
}

bool ClaimCurrentFolder() {
  // A named mutex for the folder's identity (volume and file index, whatever
  // path or letter case reached it). It touches no file, is not inherited,
  // and the system drops it with the last handle, when the process ends.
  const auto folder = Identity(u".");
  if (!folder) return true;  // the system cannot tell
  wchar_t name[96];
  for (const wchar_t* scope : {L"Global", L"Local"}) {
    swprintf(name, sizeof(name) / sizeof(name[0]), L"%ls\\sympack-folder-%08lx-%08lx-%08lx", scope,
             folder->dwVolumeSerialNumber, folder->nFileIndexHigh, folder->nFileIndexLow);
    const HANDLE claim = CreateMutexW(nullptr, FALSE, name);
    if (claim == nullptr) {
      // Denied: another user's run holds it. Otherwise that scope is not
      // open to this process.
      if (GetLastError() == ERROR_ACCESS_DENIED) return false;
      continue;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(claim);
      return false;
    }
    return true;  // held, deliberately, until the process ends
  }
  return true;
}

std::u16string NameAsCreated(std::u16string_view path) { return std::u16string(NormalisedWindowsName(path)); }

namespace {

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

bool NamesSameFile(std::u16string_view first, std::u16string_view second) {
  const auto a = Identity(first);
  const auto b = Identity(second);
  return a && b && SameIdentity(*a, *b);
}

bool NamesStandardOutputOrError(std::u16string_view path) {
  const auto named = Identity(path);
  if (!named) return false;
  const CriticalErrorsOff quiet;
  for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    BY_HANDLE_FILE_INFORMATION stream{};
    const HANDLE handle = GetStdHandle(which);
    if (win32::IsUsable(handle) && GetFileInformationByHandle(handle, &stream) &&
        SameIdentity(stream, *named)) {
      return true;
    }
  }
  return false;
}

bool FolderRefusesNewFile(std::u16string_view path) {
  // Windows cannot be asked without trying: the file is made only when the
  // name is free, and goes again with its handle.
  const std::wstring name = win32::ToWide(path);
  const CriticalErrorsOff quiet;
  const HANDLE probe = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    return false;
  }
  const DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

std::u16string LongNameOf(std::u16string_view path) {
  const std::wstring name = win32::ToWide(path);
  const CriticalErrorsOff quiet;
  const DWORD needed = GetLongPathNameW(name.c_str(), nullptr, 0);
  if (needed == 0) return std::u16string(path);
  std::wstring longName(needed, L'\0');
  const DWORD got = GetLongPathNameW(name.c_str(), longName.data(), needed);
  if (got == 0 || got >= needed) return std::u16string(path);
  return win32::FromWide(longName.c_str(), got);
}

}  // namespace sympack::platform
