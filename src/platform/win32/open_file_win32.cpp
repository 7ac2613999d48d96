// Files the run opens itself, as the System's OpenFile over a Win32 handle.
// Every call runs with the critical-error boxes off, so a drive that is not
// ready makes the call fail instead of stopping the run with a dialog.
#include <windows.h>

#include <limits>

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

  bool IsDisk() override {
    const CriticalErrorsOff quiet;
    return GetFileType(handle_.Get()) == FILE_TYPE_DISK;
  }

  bool TruncateToStart() override {
    const CriticalErrorsOff quiet;
    // Position 0 is also a valid result, so only the failure value counts.
    if (SetFilePointer(handle_.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    return SetEndOfFile(handle_.Get()) != FALSE;
  }

  bool TruncateHere() override {
    const CriticalErrorsOff quiet;
    return SetEndOfFile(handle_.Get()) != FALSE;
  }

  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    const CriticalErrorsOff quiet;
    if (!ReadFile(handle_.Get(), buffer, ClampToDword(size), &got, nullptr)) return std::nullopt;
    return got;
  }

  // One WriteFile call; the count it gives says how much went out.
  std::optional<std::size_t> Write(std::string_view bytes) override {
    DWORD written = 0;
    const CriticalErrorsOff quiet;
    if (!WriteFile(handle_.Get(), bytes.data(), ClampToDword(bytes.size()), &written, nullptr)) {
      return std::nullopt;
    }
    return written;
  }

 private:
  OwnedHandle handle_;
};

// No sharing: while the run holds a file, no other program opens or removes
// it. The handles are not inheritable (no security attributes): a child
// started while a standard stream is redirected inherits handles, and must
// get only the standard ones.
std::unique_ptr<OpenFile> Open(std::u16string_view path, DWORD access, DWORD disposition) {
  const std::wstring name = ToWide(path);
  const CriticalErrorsOff quiet;
  OwnedHandle handle(CreateFileW(name.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsOpen()) return nullptr;
  return std::make_unique<HandleFile>(std::move(handle));
}

}  // namespace

std::unique_ptr<OpenFile> Win32System::OpenForReading(std::u16string_view path) {
  return Open(path, GENERIC_READ, OPEN_EXISTING);
}

std::unique_ptr<OpenFile> Win32System::OpenOrCreateForWriting(std::u16string_view path) {
  return Open(path, GENERIC_WRITE, OPEN_ALWAYS);
}

}  // namespace sympack::platform::win32
