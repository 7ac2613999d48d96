// Standard input read as typed lines, where no keyboard types them: every
// character stands for its own key, a line end (CR LF, CR or LF; a CR LF also
// when split between two reads) is one Enter, and once the input has ended
// every further key is Enter, so that every prompt is answered and a script
// never hangs. One rule for both systems, over the characters already
// decoded from the input's bytes.
#pragma once

#include <deque>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace sympack::platform {

class TypedLines {
 public:
  // More characters of the input.
  void Take(std::u16string_view characters);
  // The input has ended: nothing more will come.
  void End() { ended_ = true; }

  // The character of the next key; empty when more input must be taken
  // first.
  std::optional<char16_t> NextKey();
  // True once the input has ended and every character of it was taken.
  // From a file or pipe the end is Enter; a terminal's input that ends has
  // gone away (a hang-up), which answers nothing.
  bool Exhausted() const { return ended_ && pending_.empty(); }

 private:
  std::deque<char16_t> pending_;
  bool ended_ = false;
  bool afterCr_ = false;  // an LF next belongs to the CR's Enter
};

}  // namespace sympack::platform
