#include "platform/posix/clipboard_osc52.h"

#include "text/base64.h"
#include "text/utf.h"

namespace sympack::platform::posix {

std::string ClipboardSequence(std::u16string_view text) {
  return "\x1b]52;c;" + text::Base64(text::Utf16ToUtf8(text)) + '\a';
}

}  // namespace sympack::platform::posix
