#include "platform/win32/standard_streams_win32.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/win32/win32_support.h"
#include "text/line_ends.h"

namespace sympack::platform::win32 {
namespace {

// The most one WriteFile call is given.
constexpr std::size_t kWriteChunk = 1u << 20;

void WriteBytesTo(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), kWriteChunk));
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return;
    bytes.remove_prefix(written);
  }
}

// Text for a standard stream: characters into a console, ANSI code page bytes
// into a file or pipe.
void WriteTextTo(HANDLE handle, std::u16string_view text, System& codePage) {
  if (!IsUsable(handle) || text.empty()) return;
  if (IsConsole(handle)) {
    const std::wstring wide = ToWide(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  WriteBytesTo(handle, codePage.WideToAnsi(text));
}

void EndLineOn(HANDLE handle) {
  if (!IsUsable(handle)) return;
  if (IsConsole(handle)) {
    const std::wstring lineEnd(text::kCrLf.begin(), text::kCrLf.end());
    DWORD written = 0;
    WriteConsoleW(handle, lineEnd.data(), static_cast<DWORD>(lineEnd.size()), &written, nullptr);
    return;
  }
  WriteBytesTo(handle, text::kCrLf);
}

std::optional<LONGLONG> Position(HANDLE handle) {
  LARGE_INTEGER here{};
  if (!SetFilePointerEx(handle, LARGE_INTEGER{}, &here, FILE_CURRENT)) return std::nullopt;
  return here.QuadPart;
}

// True when standard error writes into the disk file that standard output
// has just written a line to (as after "> log.txt 2>&1"): a light red line
// then goes there once. The file's identity needs a handle that may read
// attributes, which a redirection's handle may lack; two handles of one
// redirection share their position, which two files written apart almost
// never do at the very same place.
bool SameDiskFile(HANDLE output, HANDLE error) {
  if (!IsUsable(output) || !IsUsable(error)) return false;
  if (output == error) return true;
  if (GetFileType(output) != FILE_TYPE_DISK || GetFileType(error) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (GetFileInformationByHandle(output, &a) && GetFileInformationByHandle(error, &b)) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
  }
  const auto outputAt = Position(output);
  return outputAt && *outputAt > 0 && outputAt == Position(error);
}

}  // namespace

void StandardStreams::Write(std::u16string_view text) {
  WriteTextTo(GetStdHandle(STD_OUTPUT_HANDLE), text, codePage_);
}

void StandardStreams::EndLine() { EndLineOn(GetStdHandle(STD_OUTPUT_HANDLE)); }

void StandardStreams::ErrorLine(std::u16string_view text) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (SameDiskFile(error, GetStdHandle(STD_OUTPUT_HANDLE))) return;  // the transcript has it already
  WriteTextTo(error, text, codePage_);
  EndLineOn(error);
}

void StandardStreams::BeforeTyping(std::u16string_view prompt) {
  // The transcript goes to a file or pipe; the console that reads the line
  // shows the prompt through standard error, when that is the console.
  if (!promptOnConsole_) return;
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(error)) WriteTextTo(error, prompt, codePage_);
}

}  // namespace sympack::platform::win32
