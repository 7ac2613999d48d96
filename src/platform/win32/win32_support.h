// Helpers the Win32 side of the seam shares: UTF-16 strings as the "W" calls
// take them, the critical-error guard, and owners for the handles it opens.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace sympack::platform::win32 {

// On Windows wchar_t and char16_t are both UTF-16 units; the calls want a
// zero-terminated wchar_t string.
inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(text, text + length);
}

// True for a handle that stands for something (neither null nor
// INVALID_HANDLE_VALUE).
inline bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// True for a console handle (GetConsoleMode answers only for those).
inline bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return IsUsable(handle) && GetConsoleMode(handle, &mode) != FALSE;
}

// Keeps the system's "drive not ready" and "cannot find file" dialog boxes
// away while one file, directory, delete or process-start call runs, so that
// such a call simply fails.
class CriticalErrorsOff {
 public:
  CriticalErrorsOff() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~CriticalErrorsOff() { SetErrorMode(previous_); }
  CriticalErrorsOff(const CriticalErrorsOff&) = delete;
  CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

 private:
  UINT previous_;
};

// A kernel handle closed with CloseHandle. Both "no handle" values (null and
// INVALID_HANDLE_VALUE) count as not open.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  bool IsOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Reset() {
    if (IsOpen()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace sympack::platform::win32
