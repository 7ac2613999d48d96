// The clipboard through the terminal: the operating system control sequence
// 52 ("ESC ] 52 ; c ; base64 BEL") asks the terminal emulator to place the
// text on the system clipboard. Terminals that do not know it ignore it.
#pragma once

#include <string>
#include <string_view>

namespace sympack::platform::posix {

std::string ClipboardSequence(std::u16string_view text);

}  // namespace sympack::platform::posix
