// The message's normalisation before the simulator sees it.
#pragma once

#include <string>
#include <string_view>

namespace sympack::simulator {

// a..z become A..Z; in a single-byte code page, seven lower-case letters of
// code page 437 (the IBM PC character set) become their capitals, byte for
// byte, whatever that code page is. In a multi-byte code page (UTF-8) those
// bytes are parts of characters and are left alone, as is every other byte.
// Same length in and out.
std::string UpperCase(std::string_view text, bool singleByteCodePage = true);

}  // namespace sympack::simulator
