// The message's normalisation before the simulator sees it.
#pragma once

#include <string>
#include <string_view>

namespace sympack::simulator {

// a..z become A..Z; seven lower-case letters of code page 437 (the IBM PC
// character set) become their capitals, byte for byte, whatever the system's
// code page. Every other byte stays. Same length in and out.
std::string UpperCase(std::string_view text);

}  // namespace sympack::simulator
