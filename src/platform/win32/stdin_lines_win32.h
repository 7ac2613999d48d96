// Keys without the console keyboard: standard input's lines as typed lines
// (platform/typed_lines.h), read from a console in its line mode or from a
// file or pipe in the ANSI code page (UTF-8 or UTF-16 after a byte-order
// mark).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/system.h"
#include "platform/typed_lines.h"
#include "text/marked_input.h"

namespace sympack::platform::win32 {

class StandardInputLines {
 public:
  // `codePage` converts unmarked bytes of a file or pipe.
  explicit StandardInputLines(System& codePage) : codePage_(codePage) {}

  // The next key of standard input's lines (literal: kept as it stands);
  // Enter for ever once a file or pipe has ended. Empty once a console's
  // input has ended: the console went away.
  std::optional<KeyEvent> NextKey(bool consoleLineMode);

 private:
  bool ReadConsoleLines(HANDLE input);
  bool ReadStreamLines(HANDLE input);
  std::u16string StreamText(std::string_view bytes);

  System& codePage_;
  text::MarkedInput marked_;  // stream bytes read, their byte-order mark (if any) dropped
  std::string partialBytes_;  // stream text of a line not yet complete
  TypedLines lines_;
};

}  // namespace sympack::platform::win32
