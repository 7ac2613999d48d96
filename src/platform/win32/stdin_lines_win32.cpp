#include "platform/win32/stdin_lines_win32.h"

#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"
#include "text/line_ends.h"
#include "text/utf.h"

namespace sympack::platform::win32 {
namespace {

constexpr DWORD kLineReadUnits = 4096;

KeyEvent PressedKey(char16_t character) {
  KeyEvent event;
  event.pressed = true;
  event.character = character;
  event.literal = character != kEnterCharacter;
  return event;
}

}  // namespace

// Reads what a console in line mode gives; false at its end.
bool StandardInputLines::ReadConsoleLines(HANDLE input) {
  wchar_t units[kLineReadUnits];
  for (;;) {
    DWORD got = 0;
    if (!ReadConsoleW(input, units, kLineReadUnits, &got, nullptr)) return false;
    // Ctrl+C during a line read ends the read with nothing: read again.
    if (got == 0) continue;
    lines_.Take(FromWide(units, got));
    return true;
  }
}

// Marked text is UTF-8 by then; unmarked bytes are in the ANSI code page.
std::u16string StandardInputLines::StreamText(std::string_view bytes) {
  return marked_.IsUtf8() ? text::Utf8ToUtf16(bytes) : codePage_.AnsiToWide(bytes);
}

// Reads more bytes of a file or pipe; false at its end.
bool StandardInputLines::ReadStreamLines(HANDLE input) {
  char bytes[kLineReadUnits];
  DWORD got = 0;
  const CriticalErrorsOff quiet;
  if (!ReadFile(input, bytes, sizeof(bytes), &got, nullptr) || got == 0) {
    // The end: whatever stands after the last line end is the last line.
    marked_.End();
    partialBytes_ += marked_.Drain();
    const std::u16string rest = StreamText(partialBytes_);
    lines_.Take(rest);
    partialBytes_.clear();
    return !rest.empty();
  }
  // Whole lines only are converted, so that no character of a multi-byte
  // code page is split.
  marked_.Take(std::string_view(bytes, got));
  partialBytes_ += marked_.Drain();
  const auto lastEnd = partialBytes_.find_last_of(text::kCrLf);
  if (lastEnd != std::string::npos) {
    lines_.Take(StreamText(std::string_view(partialBytes_).substr(0, lastEnd + 1)));
    partialBytes_.erase(0, lastEnd + 1);
  }
  return true;
}

std::optional<KeyEvent> StandardInputLines::NextKey(bool consoleLineMode) {
  for (;;) {
    if (consoleLineMode && lines_.Exhausted()) return std::nullopt;
    if (const auto key = lines_.NextKey()) return PressedKey(*key);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const bool more = IsUsable(input) && (consoleLineMode ? ReadConsoleLines(input) : ReadStreamLines(input));
    if (!more) lines_.End();
  }
}

}  // namespace sympack::platform::win32
