// Any symbol text and message into the include text. The first input byte is
// the message length, then come the message and the symbol text. The output
// is read back line by line from the front and must have exactly the layout:
// the header; ceil(n/4) values, eight to a full data line, each equal to the
// packing of its four symbols computed here on its own; the trailer with the
// message unchanged; one empty line. Outside the message only the layout's
// own characters may appear.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "encoder/include_text.h"
#include "fuzz_check.h"

namespace {

namespace encoder = sympack::encoder;

constexpr std::string_view kHeader = ";     FST4 SYMBOLS Packed 4 per byte\r\n";
constexpr std::string_view kDataLineStart = "        de   0x";
constexpr std::string_view kNextValue = ", 0x";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTrailerStart = "    ;   ";
constexpr std::size_t kGroup = 4;
constexpr std::size_t kValuesPerLine = 8;
constexpr std::size_t kHexWidth = 2;

// The two hex characters the include text shows for a group: the value's
// upper-case hex text (two digits at least), cut after two characters.
std::string ExpectedHex(std::string_view symbols, std::size_t first) {
  unsigned value = 0;
  for (std::size_t k = 0; k < kGroup; ++k) {
    const std::size_t at = first + k;
    const char c = at < symbols.size() ? symbols[at] : '0';
    const unsigned digit = (c >= '0' && c <= '9') ? static_cast<unsigned>(c - '0') : 0;
    value = value * 4 + digit;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", value);
  return std::string(hex, kHexWidth);
}

// Takes `expected` off the front of `text`; false when it is not there.
bool Take(std::string_view& text, std::string_view expected) {
  if (text.substr(0, expected.size()) != expected) return false;
  text.remove_prefix(expected.size());
  return true;
}

void CheckLayout(std::string_view text, std::string_view symbols, std::string_view message) {
  FUZZ_CHECK(Take(text, kHeader), "the header line");
  const std::size_t values = (symbols.size() + kGroup - 1) / kGroup;
  for (std::size_t value = 0; value < values; ++value) {
    const bool startsLine = value % kValuesPerLine == 0;
    if (startsLine && value > 0) FUZZ_CHECK(Take(text, kLineEnd), "a data line's end");
    FUZZ_CHECK(Take(text, startsLine ? kDataLineStart : kNextValue), "a value's lead-in");
    FUZZ_CHECK(Take(text, ExpectedHex(symbols, value * kGroup)), "a packed value");
  }
  if (values > 0) FUZZ_CHECK(Take(text, kLineEnd), "the last data line's end");
  FUZZ_CHECK(Take(text, kTrailerStart), "the trailer's start");
  FUZZ_CHECK(Take(text, message), "the message, unchanged");
  FUZZ_CHECK(text == "\r\n\r\n", "the trailer's end and the empty line");
}

bool IsLayoutCharacter(char c) {
  static constexpr std::string_view kAllowed =
      " ;,\r\n0123456789ABCDEFx" "deFSTYMBOLSPackedperbyt";
  return kAllowed.find(c) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t messageLength = std::min<std::size_t>(data[0], input.size());
  const std::string_view message = input.substr(0, messageLength);
  const std::string_view symbols = input.substr(messageLength);

  const std::string text = encoder::BuildIncludeText(symbols, message);
  CheckLayout(text, symbols, message);

  const std::string_view beforeMessage(text.data(), text.size() - message.size() - 4);
  FUZZ_CHECK(std::all_of(beforeMessage.begin(), beforeMessage.end(), IsLayoutCharacter),
             "a character outside the layout's own");
  return 0;
}
