// The message's normalisation before the simulator sees it.
#pragma once

#include <string>
#include <string_view>

#include "command/interpreter_argument.h"

namespace sympack::command {

// a..z become A..Z where they are characters of their own: in a double-byte
// code page a trail byte 0x61..0x7A is part of its character and stays (ツ is
// not turned into イ). In a single-byte code page, seven lower-case letters of
// code page 437 (the IBM PC character set) become their capitals, byte for
// byte, whatever that code page is; in a multi-byte code page (UTF-8, or a
// double-byte one) those bytes are parts of characters, or characters of
// their own there, and are left alone, as is every other byte. Same length in
// and out.
std::string UpperCase(std::string_view text, CharacterLength characterLength, bool singleByteCodePage);

}  // namespace sympack::command
