// The clipboard the include text is also put on.
#pragma once

#include <string_view>

namespace sympack::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // UTF-16 text as CF_UNICODETEXT (Windows) or through the output terminal
  // (POSIX, OSC 52). False when it certainly was not placed.
  virtual bool PlaceClipboardText(std::u16string_view text) = 0;
};

}  // namespace sympack::platform
