#include "include_file/include_text.h"

#include "include_file/c_header_text.h"
#include "text/hex_digits.h"

namespace sympack::include_file {
namespace {

using text::kHexDigits;

static_assert(ChannelSymbols::kCount % kSymbolsPerLine == 0, "the de lines are all full");

unsigned GroupValue(const ChannelSymbols& symbols, std::size_t first) {
  unsigned value = 0;
  for (std::size_t k = 0; k < kSymbolsPerValue; ++k) value = value * ChannelSymbols::kLevels + symbols[first + k];
  return value;
}

std::string BuildAssemblerText(const ChannelSymbols& symbols, std::string_view messageText) {
  std::string text;
  text += kHeaderLine;
  for (std::size_t first = 0; first < symbols.size(); first += kSymbolsPerValue) {
    if (first % kSymbolsPerLine == 0) {
      text += kLineEnd;
      text += kDataLineStart;
    } else {
      text += kValueSeparator;
    }
    const unsigned value = GroupValue(symbols, first);  // one byte: four symbols of two bits
    text += kValuePrefix;
    text += kHexDigits[value >> text::kBitsPerHexDigit];
    text += kHexDigits[value & text::kHexDigitMask];
  }
  text += kLineEnd;
  text += kTrailerStart;
  text += messageText;
  text += kLineEnd;
  text += kLineEnd;
  return text;
}

}  // namespace

std::string CommentMessage(std::string_view typed, std::string_view carried, bool carriesTyped) {
  if (carriesTyped) return std::string(typed);
  std::string text(carried);
  text += kTypedBefore;
  text += typed;
  text += kTypedAfter;
  return text;
}

std::string BuildIncludeText(const ChannelSymbols& symbols, std::string_view messageText,
                             std::string_view destinationName) {
  return NamesCHeader(destinationName) ? BuildCHeaderText(symbols, messageText)
                                       : BuildAssemblerText(symbols, messageText);
}

}  // namespace sympack::include_file
