// The include text for a C or C++ header: the channel symbols one to an
// element of a `const unsigned char` array, for beacons on microcontrollers
// programmed in C or C++ (an Arduino sketch, for one).
//
// Layout (every line ends in CR LF):
//   "/* FST4 SYMBOLS one per element, 0 to 3 */"
//   "/* " + message, kept inside the comment + " */"
//   "#ifndef FST4_SYMBOLS_<16 hex digits>"     the guard, named after the text
//   "#define FST4_SYMBOLS_<16 hex digits>"
//   "#define FST4_SYMBOL_COUNT <n>"
//   "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)"   kept in flash on request
//   "#include <avr/pgmspace.h>"
//   "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])"
//   "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {"
//   "#else"
//   "#define FST4_SYMBOL(i) (fst4_symbols[(i)])"
//   "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {"
//   "#endif"
//   "  0, 1, 3, 2, 1, 0, 2, 3, 1, 0,"          ten to a line, the last without ","
//   "};"
//   "#endif"
// It compiles as C (from C89 on) and as C++ with no other include.
#pragma once

#include <string>
#include <string_view>

#include "include_file/channel_symbols.h"

namespace sympack::include_file {

constexpr std::string_view kCHeaderLine = "/* FST4 SYMBOLS one per element, 0 to 3 */";
constexpr std::string_view kCommentStart = "/* ";
constexpr std::string_view kCommentEnd = " */";
constexpr std::string_view kGuardPrefix = "FST4_SYMBOLS_";
constexpr std::string_view kCountName = "FST4_SYMBOL_COUNT";
// Static, so that every translation unit that includes the header has its
// own copy and the program still links.
constexpr std::string_view kArrayType = "static const unsigned char ";
constexpr std::string_view kArrayName = "fst4_symbols";
// On an AVR, with FST4_SYMBOLS_IN_FLASH defined before the header, the array
// goes to flash under another name, so that indexing it as if it were in RAM
// (which would read wrong tones without a warning) does not compile; the
// symbols are read with FST4_SYMBOL(i) there and everywhere else.
constexpr std::string_view kFlashCondition = "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)";
constexpr std::string_view kFlashInclude = "#include <avr/pgmspace.h>";
constexpr std::string_view kFlashReader = "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])";
constexpr std::string_view kFlashArray = "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {";
constexpr std::string_view kRamReader = "#define FST4_SYMBOL(i) (fst4_symbols[(i)])";
constexpr std::string_view kElementLineStart = "  ";
constexpr std::string_view kElementSeparator = ", ";
constexpr std::string_view kArrayEnd = "};";
constexpr std::size_t kElementsPerLine = 10;
// Stands for a message byte no comment can hold (a control byte).
constexpr char kCommentReplacement = '?';

// True when the name ends in ".h" or ".hpp", in any letter case.
bool NamesCHeader(std::string_view destinationName);

// The message as it goes between "/* " and " */": a control byte (other than
// tab) becomes "?", and a blank goes between "*" and "/" and between "/" and
// "*", so that nothing in it can end the comment or open another. Every other
// byte stays as it is, backslashes and question marks too: on one line inside
// a block comment that the tool closes, neither a backslash nor a trigraph
// can reach the line end.
std::string CommentSafeText(std::string_view messageText);

// The C layout above: one element per symbol, 160 of them. The guard is named after a hash of the rest of the text, so the same header
// included twice is read once, while two different ones in one program meet
// and fail to compile rather than one hiding the other.
std::string BuildCHeaderText(const ChannelSymbols& symbols, std::string_view messageText);

}  // namespace sympack::include_file
