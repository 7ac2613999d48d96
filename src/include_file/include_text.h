// The include text: for a C or C++ header (a name ending in .h or .hpp) the
// symbols as a C array (c_header_text.h); for every other name the channel
// symbols packed four to a byte as PIC assembler `de` lines.
//
// The `de` layout (every line ends in CR LF):
//   ";     FST4 SYMBOLS Packed 4 per byte"
//   "        de   0xHH, 0xHH, ..."       up to 8 values a line, ceil(n/4) values in all
//   "    ;   " + message
//   ""                                   one empty line
// 160 symbols give 40 values on five full lines.
#pragma once

#include <string>
#include <string_view>

#include "text/line_ends.h"

namespace sympack::include_file {

constexpr std::string_view kHeaderLine = ";     FST4 SYMBOLS Packed 4 per byte";
constexpr std::string_view kDataLineStart = "        de  ";
constexpr std::string_view kValueSeparator = ",";
constexpr std::string_view kValuePrefix = " 0x";
constexpr std::string_view kTrailerStart = "    ;   ";
constexpr std::string_view kLineEnd = text::kCrLf;

// When the simulator's report says the symbols carry another text than the
// message typed, the comment holds that text first and the typed one beside
// it, so that the file never claims to send what it does not.
constexpr std::string_view kTypedBefore = "  (typed: ";
constexpr std::string_view kTypedAfter = ")";

constexpr std::size_t kSymbolsPerValue = 4;
constexpr std::size_t kValuesPerLine = 8;
constexpr std::size_t kSymbolsPerLine = kSymbolsPerValue * kValuesPerLine;  // 32

// The include text for the destination: the C layout when the name ends in
// .h or .hpp (any letter case), otherwise the `de` layout, which is also what
// no name gives.
//
// The `de` layout packs the symbols and lays them out. Symbol characters "0".."9"
// count at face value, every other byte as 0, and missing positions of a last
// short group as 0 in the low places: v = 64*d1 + 16*d2 + 4*d3 + d4. Each
// value is written as " 0x" and the first two digits of its upper-case hex
// text (zero-padded to two), so a value of 256 or more, which only digits 4
// to 9 give, loses its last digit. Any length of input is packed, in linear
// time. The message goes in unchanged.
// The message for the comment: the typed text when the symbols carry it (no
// decoded text, or one the same), else the carried text and the typed one.
std::string CommentMessage(std::string_view typed, std::string_view carried, bool carriesTyped);

std::string BuildIncludeText(std::string_view symbolText, std::string_view messageText,
                             std::string_view destinationName = {});

}  // namespace sympack::include_file
