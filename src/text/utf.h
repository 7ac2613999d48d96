// UTF-8 and UTF-16 conversions for the places where text meets a POSIX system
// (terminal bytes, file names, program arguments). Malformed input becomes
// U+FFFD rather than being dropped, so a bad byte never shortens a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sympack::text {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The length in bytes of the character that starts `text`: a well-formed
// UTF-8 sequence, or else one byte (a malformed byte stands for itself).
// 0 for an empty text.
std::size_t Utf8CharacterLength(std::string_view text);

// The bytes a UTF-8 sequence led by `lead` takes by its lead byte's bits: 2
// to 4; 1 for ASCII and for a byte that leads none (a continuation byte,
// 0xF8..0xFF).
std::size_t Utf8SequenceLength(unsigned char lead);
// True for the bytes that continue a UTF-8 sequence (10xxxxxx).
bool IsUtf8Continuation(unsigned char byte);

// Every byte a character of its own, as in a single-byte code page.
std::size_t SingleByteCharacterLength(std::string_view text);

// Appends one code point (U+0000..U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace sympack::text
