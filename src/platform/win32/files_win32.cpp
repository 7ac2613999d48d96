// Names, identities, deletion and the folder claim through the Win32 file API.
// Every call runs with the critical-error boxes off, so a drive that is not
// ready makes the call fail instead of stopping the run with a dialog.
#include <windows.h>

#include <cwchar>

#include "platform/name_match.h"
#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

// The DOS volume-label attribute bit. Win32 searches never report it for a
// file, but an entry carrying it is no file the tool may use.
constexpr DWORD kVolumeLabelAttribute = 0x08;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DirectoryEntry EntryFrom(const WIN32_FIND_DATAW& found) {
  DirectoryEntry entry;
  entry.name = FromWide(found.cFileName, wcslen(found.cFileName));
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute;
  entry.plainFile = (found.dwFileAttributes & kNotPlain) == 0;
  return entry;
}

// Volume and file index together name one file, whatever path reached it.
std::optional<BY_HANDLE_FILE_INFORMATION> Identity(std::u16string_view path) {
  const std::wstring name = ToWide(path);
  const CriticalErrorsOff quiet;
  // Backup semantics let a directory be opened too.
  const OwnedHandle handle(CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.IsOpen() || !GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
  return info;
}

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

// A name without wildcards finds at most its one entry: the first is all
// there is (any letter case; an 8.3 alias gives the entry's long name).
std::optional<DirectoryEntry> Win32System::FindEntry(std::u16string_view name) {
  const std::wstring wide = ToWide(name);
  WIN32_FIND_DATAW found{};
  const CriticalErrorsOff quiet;
  const HANDLE search = FindFirstFileW(wide.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return EntryFrom(found);
}

bool Win32System::DeleteFileByName(std::u16string_view path) {
  const std::wstring name = ToWide(path);
  const CriticalErrorsOff quiet;
  return DeleteFileW(name.c_str()) != FALSE;
}

bool Win32System::ClaimCurrentFolder() {
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

std::u16string Win32System::NameAsCreated(std::u16string_view path) {
  return std::u16string(NormalisedWindowsName(path));
}

bool Win32System::NamesSameFile(std::u16string_view first, std::u16string_view second) {
  const auto a = Identity(first);
  const auto b = Identity(second);
  return a && b && SameIdentity(*a, *b);
}

bool Win32System::NamesStandardOutputOrError(std::u16string_view path) {
  const auto named = Identity(path);
  if (!named) return false;
  const CriticalErrorsOff quiet;
  for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    BY_HANDLE_FILE_INFORMATION stream{};
    const HANDLE handle = GetStdHandle(which);
    if (IsUsable(handle) && GetFileInformationByHandle(handle, &stream) && SameIdentity(stream, *named)) {
      return true;
    }
  }
  return false;
}

bool Win32System::FolderRefusesNewFile(std::u16string_view path) {
  // Windows cannot be asked without trying: the file is made only when the
  // name is free, and goes again with its handle.
  const std::wstring name = ToWide(path);
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

std::u16string Win32System::ListedName(std::u16string_view path) {
  const std::wstring name = ToWide(path);
  const CriticalErrorsOff quiet;
  const DWORD needed = GetLongPathNameW(name.c_str(), nullptr, 0);
  if (needed == 0) return std::u16string(path);
  std::wstring longName(needed, L'\0');
  const DWORD got = GetLongPathNameW(name.c_str(), longName.data(), needed);
  if (got == 0 || got >= needed) return std::u16string(path);
  return FromWide(longName.c_str(), got);
}

}  // namespace sympack::platform::win32
