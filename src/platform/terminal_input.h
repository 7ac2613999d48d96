// Terminal input bytes as the console's key events: UTF-8 characters, escape
// sequences (arrows, function keys and the like: keys without a character),
// ESC before a character as Alt with that key, DEL and BS as Backspace. Also
// the terminal's answer to a cursor-position request, which arrives mixed in
// with typed keys. Pure functions over bytes, so that tests and a fuzzer
// drive them without a terminal.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace sympack::platform {

// An escape sequence still unfinished after this many bytes is taken as
// finished, so that a stream of parameter bytes cannot pile up unread.
constexpr std::size_t kMaxKeySequenceBytes = 32;

// Decodes the whole keys at the front of `bytes` into `events` and returns how
// many bytes they took. An unfinished key at the end (a lone ESC, a sequence
// without its final byte, a UTF-8 character missing bytes) is left in place
// for more bytes to complete, unless `paused` says that no more came in time:
// then it is decoded as it stands, and every byte is taken.
std::size_t DecodeKeys(std::string_view bytes, bool paused, std::vector<KeyEvent>& events);

// Decodes the one UTF-8 character at the front of `bytes` (which must not be
// empty) into one event per UTF-16 unit, and returns the bytes it took; 0
// when it may yet be completed by more bytes and `paused` is false.
std::size_t DecodeCharacter(std::string_view bytes, bool paused, std::vector<KeyEvent>& events);

// A key event for one UTF-16 unit; with Alt, a letter is a shortcut.
KeyEvent CharacterKeyEvent(char16_t unit, bool alt = false);

// A cursor-position report "ESC [ row ; column R" found in the bytes.
struct CursorReport {
  std::size_t start = 0;   // where it begins
  std::size_t length = 0;  // how many bytes it takes
  int column = 0;          // counted from 0
  int row = 0;             // counted from 0
};

// Finds the first report in the bytes. Numbers of more digits than a screen
// coordinate can have are not a report.
std::optional<CursorReport> FindCursorReport(std::string_view bytes);

}  // namespace sympack::platform
