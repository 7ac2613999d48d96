// Control characters: bytes and units a terminal, a command line or an
// assembler acts on instead of showing them.
#pragma once

namespace sympack::text {

constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kFirstAfterC1 = 0xA0;

// The C0 controls (below a blank) and DEL: the controls of ASCII, which no
// code page uses in a character of two bytes.
constexpr bool IsAsciiControl(char32_t unit) { return unit < kFirstPrintable || unit == kDelete; }
constexpr bool IsAsciiControl(char byte) { return IsAsciiControl(static_cast<char32_t>(static_cast<unsigned char>(byte))); }

// The C1 controls (0x80..0x9F) as well, for text in UTF-16: a terminal or a
// pager acts on them too.
constexpr bool IsControl(char16_t unit) { return IsAsciiControl(char32_t{unit}) || (unit > kDelete && unit < kFirstAfterC1); }

}  // namespace sympack::text
