#include "include_file/include_text.h"

#include "include_file/c_header_text.h"
#include "text/hex_digits.h"

namespace sympack::include_file {
namespace {

using text::kHexDigits;
constexpr unsigned kSymbolBase = 4;  // four levels a symbol: v = v * 4 + d

unsigned DigitOf(char c) {
  return (c >= '0' && c <= '9') ? static_cast<unsigned>(c - '0') : 0;
}

unsigned GroupValue(std::string_view symbols, std::size_t first) {
  unsigned value = 0;
  for (std::size_t k = 0; k < kSymbolsPerValue; ++k) {
    const std::size_t position = first + k;
    const unsigned digit = position < symbols.size() ? DigitOf(symbols[position]) : 0;
    value = value * kSymbolBase + digit;
  }
  return value;
}

// The first two characters of the value's hex text, which has no leading
// zeros and gets a "0" in front when it is a single digit.
void AppendHexField(std::string& out, unsigned value) {
  if (value < 16) {
    out += '0';
    out += kHexDigits[value];
  } else if (value < 256) {
    out += kHexDigits[value >> 4];
    out += kHexDigits[value & 0xF];
  } else {  // three hex digits (at most 765 = 0x2FD): the third is cut
    out += kHexDigits[value >> 8];
    out += kHexDigits[(value >> 4) & 0xF];
  }
}

std::string BuildAssemblerText(std::string_view symbolText, std::string_view messageText) {
  const std::size_t groups = (symbolText.size() + kSymbolsPerValue - 1) / kSymbolsPerValue;
  std::string text;
  text.reserve(kHeaderLine.size() + groups * 7 + (groups / kValuesPerLine + 1) * 14 +
               messageText.size() + 16);
  text += kHeaderLine;
  for (std::size_t first = 0; first < symbolText.size(); first += kSymbolsPerValue) {
    if (first % kSymbolsPerLine == 0) {
      text += kLineEnd;
      text += kDataLineStart;
    } else {
      text += kValueSeparator;
    }
    text += kValuePrefix;
    AppendHexField(text, GroupValue(symbolText, first));
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

std::string BuildIncludeText(std::string_view symbolText, std::string_view messageText,
                             std::string_view destinationName) {
  return NamesCHeader(destinationName) ? BuildCHeaderText(symbolText, messageText)
                                       : BuildAssemblerText(symbolText, messageText);
}

}  // namespace sympack::include_file
