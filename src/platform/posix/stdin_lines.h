// Keys without a terminal keyboard: standard input's lines as typed lines
// (platform/typed_lines.h), a byte-order mark dropped, decoded from UTF-8.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/typed_lines.h"
#include "text/marked_input.h"

namespace sympack::platform::posix {

class StandardInputLines {
 public:
  // The next character of a typed line (literal: kept as it stands), or
  // Enter; Enter for ever at the end of a file or pipe. Empty once a
  // terminal's input has ended: the terminal went away.
  std::optional<KeyEvent> Next();

 private:
  void ReadMore();
  void DecodeWhatCame(bool ended);

  text::MarkedInput marked_;  // what was read, its byte-order mark (if any) dropped
  std::string bytes_;         // UTF-8 read and not yet decoded
  TypedLines lines_;
};

}  // namespace sympack::platform::posix
