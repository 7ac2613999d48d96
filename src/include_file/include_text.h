// The include text: for a C or C++ header (a name ending in .h or .hpp) the
// symbols as a C array (c_header_text.h); for every other name the channel
// symbols packed four to a byte as PIC assembler `de` lines.
//
// The `de` layout (every line ends in CR LF):
//   ";     FST4 SYMBOLS Packed 4 per byte"
//   "        de   0xHH, 0xHH, ..."       8 values a line: 40 values on five lines
//   "    ;   " + message
//   ""                                   one empty line
#pragma once

#include <string>
#include <string_view>

#include "include_file/channel_symbols.h"
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

// The message for the comment: the typed text when the symbols carry it (no
// decoded text, or one the same), else the carried text and the typed one.
std::string CommentMessage(std::string_view typed, std::string_view carried, bool carriesTyped);

// The include text for the destination: the C layout when the name ends in
// .h or .hpp (any letter case), otherwise the `de` layout, which is also what
// no name gives.
//
// The `de` layout packs four symbols to a byte, the first in the high bits:
// v = 64*s1 + 16*s2 + 4*s3 + s4, written as " 0x" and two upper-case hex
// digits. The message goes in unchanged.
std::string BuildIncludeText(const ChannelSymbols& symbols, std::string_view messageText,
                             std::string_view destinationName = {});

}  // namespace sympack::include_file
