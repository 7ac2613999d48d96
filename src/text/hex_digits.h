// The digits of upper-case hexadecimal text.
#pragma once

#include <string_view>

namespace sympack::text {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned kBitsPerHexDigit = 4;
constexpr unsigned kHexDigitMask = 0xF;

}  // namespace sympack::text
