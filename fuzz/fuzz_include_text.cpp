// Any listing and message into the include text. The first input byte is
// the message length, then come the message and the listing's text. The
// listing becomes symbols only when it is exactly 160 characters 0 to 3.
// The include text is built from symbols taken from the listing's first 40
// bytes, four two-bit symbols a byte, the first in the high bits, so the
// packed values must be those bytes again. The output is read back line by
// line from the front and must have exactly the layout: the header; 40
// values, eight to a data line; the trailer with the message unchanged; one
// empty line. Outside the message only the layout's own characters may
// appear.
//
// The same input also goes into the C layout a header name gets. Read through
// a C compiler's first translation phases (trigraphs, line splices, comments),
// its two comment lines must shrink to one blank each and leave the code after
// them untouched, whatever the message holds; the code must be the guard, the
// count and one element per symbol; and the message comment must be the
// message with only its control bytes replaced and blanks put between "*" and
// "/".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "include_file/include_text.h"
#include "fuzz_check.h"

namespace {

namespace include_file = sympack::include_file;

constexpr std::string_view kHeader = ";     FST4 SYMBOLS Packed 4 per byte\r\n";
constexpr std::string_view kDataLineStart = "        de   0x";
constexpr std::string_view kNextValue = ", 0x";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTrailerStart = "    ;   ";
constexpr std::size_t kGroup = 4;
constexpr std::size_t kValuesPerLine = 8;
constexpr std::size_t kSymbols = 160;
constexpr std::size_t kValues = kSymbols / kGroup;

std::string Hex(unsigned char byte) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", byte);
  return hex;
}

// The listing whose packing gives `bytes` (kValues of them) back.
std::string ListingOf(std::string_view bytes) {
  std::string listing;
  for (std::size_t at = 0; at < kSymbols; ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at / kGroup]);
    listing += static_cast<char>('0' + ((byte >> (2 * (kGroup - 1 - at % kGroup))) & 3));
  }
  return listing;
}

// Takes `expected` off the front of `text`; false when it is not there.
bool Take(std::string_view& text, std::string_view expected) {
  if (text.substr(0, expected.size()) != expected) return false;
  text.remove_prefix(expected.size());
  return true;
}

void CheckLayout(std::string_view text, std::string_view bytes, std::string_view message) {
  FUZZ_CHECK(Take(text, kHeader), "the header line");
  for (std::size_t value = 0; value < kValues; ++value) {
    const bool startsLine = value % kValuesPerLine == 0;
    if (startsLine && value > 0) FUZZ_CHECK(Take(text, kLineEnd), "a data line's end");
    FUZZ_CHECK(Take(text, startsLine ? kDataLineStart : kNextValue), "a value's lead-in");
    FUZZ_CHECK(Take(text, Hex(static_cast<unsigned char>(bytes[value]))), "a packed value");
  }
  FUZZ_CHECK(Take(text, kLineEnd), "the last data line's end");
  FUZZ_CHECK(Take(text, kTrailerStart), "the trailer's start");
  FUZZ_CHECK(Take(text, message), "the message, unchanged");
  FUZZ_CHECK(text == "\r\n\r\n", "the trailer's end and the empty line");
}

// --- The C layout ---

constexpr std::string_view kCLineEnd = "\r\n";
constexpr std::size_t kElementsPerLine = 10;
constexpr std::size_t kGuardHexDigits = 16;

char Trigraph(char third) {
  static constexpr std::string_view kFrom = "=(/)'<!>-";
  static constexpr std::string_view kTo = "#[\\]^{|}~";
  const std::size_t at = kFrom.find(third);
  return at == std::string_view::npos ? 0 : kTo[at];
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Translation phases 1 to 3 as far as they can touch a comment: the nine
// trigraphs, a backslash before a line end (blanks between allowed, as gcc
// allows) joining the lines, and each comment becoming one blank. String and
// character literals pass as they are; CR, LF and CR LF end lines. An
// unfinished comment gives "<open comment>".
std::string ThroughCompilerPhases(std::string_view source) {
  std::string mapped;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char replaced = i + 2 < source.size() && source[i] == '?' && source[i + 1] == '?'
                              ? Trigraph(source[i + 2]) : 0;
    mapped += replaced ? replaced : source[i];
    if (replaced) i += 2;
  }
  std::string spliced;
  for (std::size_t i = 0; i < mapped.size(); ++i) {
    if (mapped[i] == '\\') {
      std::size_t end = i + 1;
      while (end < mapped.size() && (mapped[end] == ' ' || mapped[end] == '\t')) ++end;
      if (end < mapped.size() && IsLineEnd(mapped[end])) {
        i = end + (mapped.compare(end, 2, "\r\n") == 0 ? 1 : 0);
        continue;
      }
    }
    spliced += mapped[i];
  }
  std::string out;
  for (std::size_t i = 0; i < spliced.size(); ++i) {
    if (spliced.compare(i, 2, "/*") == 0) {
      const std::size_t end = spliced.find("*/", i + 2);
      if (end == std::string::npos) return out + "<open comment>";
      out += ' ';
      i = end + 1;
    } else if (spliced.compare(i, 2, "//") == 0) {
      out += ' ';
      while (i + 1 < spliced.size() && !IsLineEnd(spliced[i + 1])) ++i;
    } else if (spliced[i] == '"' || spliced[i] == '\'') {
      const char quote = spliced[i];
      out += spliced[i];
      while (++i < spliced.size() && spliced[i] != quote && !IsLineEnd(spliced[i])) {
        out += spliced[i];
        if (spliced[i] == '\\' && i + 1 < spliced.size()) out += spliced[++i];
      }
      if (i < spliced.size()) out += spliced[i];
    } else {
      out += spliced[i];
    }
  }
  return out;
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

// `shown` is `message` with each control byte as "?" and blanks only between
// a "*" and a "/" (either order) added.
bool ShowsMessage(std::string_view shown, std::string_view message) {
  std::size_t m = 0;
  for (std::size_t s = 0; s < shown.size(); ++s) {
    const char expected = m < message.size() ? (IsControl(message[m]) ? '?' : message[m]) : 0;
    if (m < message.size() && shown[s] == expected) {
      ++m;
      continue;
    }
    const bool between = s > 0 && s + 1 < shown.size() &&
                         std::string_view("*/").find(shown[s - 1]) != std::string_view::npos &&
                         std::string_view("*/").find(shown[s + 1]) != std::string_view::npos &&
                         shown[s - 1] != shown[s + 1];
    if (shown[s] != ' ' || !between) return false;
  }
  return m == message.size();
}

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool TakeGuard(std::string_view& text, std::string& guard) {
  const std::string_view prefix = "FST4_SYMBOLS_";
  if (!Take(text, "#ifndef ") || !Take(text, prefix) || text.size() < kGuardHexDigits) return false;
  const std::string_view hex = text.substr(0, kGuardHexDigits);
  if (!std::all_of(hex.begin(), hex.end(), IsUpperHexDigit)) return false;
  guard = std::string(prefix) + std::string(hex);
  text.remove_prefix(kGuardHexDigits);
  return Take(text, kCLineEnd) && Take(text, "#define " + guard) && Take(text, kCLineEnd);
}

void CheckCLayout(std::string_view text, std::string_view symbols, std::string_view message) {
  const std::string code = ThroughCompilerPhases(text);
  FUZZ_CHECK(Take(text, "/* FST4 SYMBOLS one per element, 0 to 3 */\r\n/* "), "the C comments' start");
  const std::size_t end = text.find(" */\r\n");
  FUZZ_CHECK(end != std::string_view::npos, "the message comment's end");
  FUZZ_CHECK(ShowsMessage(text.substr(0, end), message), "the message, kept readable");
  text.remove_prefix(end + 5);
  FUZZ_CHECK(code == " \r\n \r\n" + std::string(text),
             "the comments, closed where they stand and nothing more");

  std::string guard;
  FUZZ_CHECK(TakeGuard(text, guard), "the include guard");
  FUZZ_CHECK(Take(text, "#define FST4_SYMBOL_COUNT 160"), "the count, one per symbol");
  FUZZ_CHECK(Take(text, kCLineEnd), "the count line's end");
  {
    // Flash on an AVR when asked for, an ordinary array elsewhere; either way
    // one list of elements, read through FST4_SYMBOL.
    FUZZ_CHECK(Take(text,
                    "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)\r\n"
                    "#include <avr/pgmspace.h>\r\n"
                    "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])\r\n"
                    "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {\r\n"
                    "#else\r\n"
                    "#define FST4_SYMBOL(i) (fst4_symbols[(i)])\r\n"
                    "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {\r\n"
                    "#endif\r\n"),
               "the array, in flash or in RAM");
    for (std::size_t at = 0; at < symbols.size(); ++at) {
      const std::string_view lead = at % kElementsPerLine != 0 ? ", " : at > 0 ? ",\r\n  " : "  ";
      FUZZ_CHECK(Take(text, lead), "an element's lead-in");
      FUZZ_CHECK(Take(text, std::string(1, symbols[at])), "one element per symbol, its value");
    }
    FUZZ_CHECK(Take(text, "\r\n};\r\n"), "the array's end");
  }
  FUZZ_CHECK(text == "#endif\r\n", "the guard's end");
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
  const std::string_view listing = input.substr(messageLength);

  // The one rule for a listing: 160 characters, each 0 to 3.
  const bool whole = listing.size() == kSymbols &&
                     std::all_of(listing.begin(), listing.end(), [](char c) { return c >= '0' && c <= '3'; });
  FUZZ_CHECK(include_file::ChannelSymbols::FromListing(listing).has_value() == whole,
             "a listing taken, or refused, against the rule");
  if (listing.size() < kValues) return 0;
  const std::string_view bytes = listing.substr(0, kValues);
  const std::string symbols = ListingOf(bytes);
  const auto channelSymbols = include_file::ChannelSymbols::FromListing(symbols);
  FUZZ_CHECK(channelSymbols.has_value(), "a listing of 160 symbols refused");

  const std::string text = include_file::BuildIncludeText(*channelSymbols, message);
  CheckLayout(text, bytes, message);

  const std::string_view beforeMessage(text.data(), text.size() - message.size() - 4);
  FUZZ_CHECK(std::all_of(beforeMessage.begin(), beforeMessage.end(), IsLayoutCharacter),
             "a character outside the layout's own");

  CheckCLayout(include_file::BuildIncludeText(*channelSymbols, message, "BEACON.H"), symbols, message);
  return 0;
}
