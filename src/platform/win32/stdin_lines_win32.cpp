#include "platform/win32/stdin_lines_win32.h"

#include <windows.h>

#include <string>

#include "platform/typed_lines.h"
#include "platform/win32/win32_support.h"
#include "text/line_ends.h"
#include "text/marked_input.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

constexpr DWORD kLineReadUnits = 4096;

struct StandardInput {
  text::MarkedInput marked;  // stream bytes read, their byte-order mark (if any) dropped
  std::string partialBytes;  // stream text of a line not yet complete
  TypedLines lines;
};

StandardInput& Input() {
  static StandardInput input;
  return input;
}

// Reads what a console in line mode gives; false at its end.
bool ReadConsoleLines(HANDLE input, StandardInput& state) {
  wchar_t units[kLineReadUnits];
  for (;;) {
    DWORD got = 0;
    if (!ReadConsoleW(input, units, kLineReadUnits, &got, nullptr)) return false;
    // Ctrl+C during a line read ends the read with nothing: read again.
    if (got == 0) continue;
    state.lines.Take(win32::FromWide(units, got));
    return true;
  }
}

// Reads more bytes of a file or pipe; false at its end.
bool ReadStreamLines(HANDLE input, StandardInput& state) {
  char bytes[kLineReadUnits];
  DWORD got = 0;
  const win32::CriticalErrorsOff quiet;
  // Marked text is UTF-8 by then; unmarked bytes are in the ANSI code page.
  const auto toWide = [&state](std::string_view text) {
    return state.marked.IsUtf8() ? text::Utf8ToUtf16(text) : AnsiToWide(text);
  };
  if (!ReadFile(input, bytes, sizeof(bytes), &got, nullptr) || got == 0) {
    // The end: whatever stands after the last line end is the last line.
    state.marked.End();
    state.partialBytes += state.marked.Drain();
    const std::u16string rest = toWide(state.partialBytes);
    state.lines.Take(rest);
    state.partialBytes.clear();
    return !rest.empty();
  }
  // Whole lines only are converted, so that no character of a multi-byte
  // code page is split.
  state.marked.Take(std::string_view(bytes, got));
  state.partialBytes += state.marked.Drain();
  const auto lastEnd = state.partialBytes.find_last_of(text::kCrLf);
  if (lastEnd != std::string::npos) {
    state.lines.Take(toWide(std::string_view(state.partialBytes).substr(0, lastEnd + 1)));
    state.partialBytes.erase(0, lastEnd + 1);
  }
  return true;
}

KeyEvent PressedKey(char16_t character) {
  KeyEvent event;
  event.pressed = true;
  event.character = character;
  return event;
}

}  // namespace

KeyEvent win32::NextStandardInputKey(bool consoleLineMode) {
  StandardInput& state = Input();
  for (;;) {
    if (const auto key = state.lines.NextKey()) return PressedKey(*key);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const bool more = IsUsable(input) &&
                      (consoleLineMode ? ReadConsoleLines(input, state) : ReadStreamLines(input, state));
    if (!more) state.lines.End();
  }
}

}  // namespace sympack::platform
