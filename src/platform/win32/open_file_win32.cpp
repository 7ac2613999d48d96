// Files the run opens itself, as the System's OpenFile over a Win32 handle.
// Every call runs with the critical-error boxes off, so a drive that is not
// ready makes the call fail instead of stopping the run with a dialog.
#include <windows.h>

#include <limits>
#include <memory>

#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

DWORD ClampToDword(std::size_t size) {
  constexpr std::size_t kMax = std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(size > kMax ? kMax : size);
}

class HandleFile final : public OpenFile {
 public:
  explicit HandleFile(OwnedHandle handle) : handle_(std::move(handle)) {}
  ~HandleFile() override {
    const CriticalErrorsOff quiet;
    handle_.Reset();
  }
  HandleFile(const HandleFile&) = delete;
  HandleFile& operator=(const HandleFile&) = delete;

  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    const CriticalErrorsOff quiet;
    if (!ReadFile(handle_.Get(), buffer, ClampToDword(size), &got, nullptr)) return std::nullopt;
    return got;
  }

 private:
  OwnedHandle handle_;
};

}  // namespace

// No sharing: while the run holds a file, no other program opens or removes
// it. The handle is not inheritable (no security attributes): a child
// started while a standard stream is redirected inherits handles, and must
// get only the standard ones. A reparse point (a link or junction planted as
// the report after the tool's check) is opened as itself and not read, nor
// is a file with another name (a hard link to a file elsewhere) or a device:
// the report read is a plain file made under its own name.
std::unique_ptr<OpenFile> Win32System::OpenForReading(std::u16string_view path) {
  const std::wstring name = ToWide(path);
  const CriticalErrorsOff quiet;
  OwnedHandle handle(CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle.IsOpen() || GetFileType(handle.Get()) != FILE_TYPE_DISK) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info) || info.nNumberOfLinks != 1 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return nullptr;
  }
  return std::make_unique<HandleFile>(std::move(handle));
}

}  // namespace sympack::platform::win32
