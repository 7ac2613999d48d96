// Windows-1252, the ANSI code page that Linux terminals stand in with.
#pragma once

#include <string>
#include <string_view>

namespace sympack::text {

// The page's default character, given for what it cannot hold.
constexpr char kCp1252DefaultChar = '?';

// Each byte becomes one UTF-16 unit. The five bytes the page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as
// Windows maps them, so every byte survives a round trip.
std::u16string Cp1252ToUtf16(std::string_view bytes);
// Each UTF-16 unit becomes one byte; a unit the page cannot hold (a lone or
// paired surrogate counts once per unit) becomes kCp1252DefaultChar.
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace sympack::text
