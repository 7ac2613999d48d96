// Any bytes through the text conversions that every outside text passes on
// POSIX: program arguments, terminal input and file names as UTF-8, and the
// ANSI code page (Windows-1252). Checks: UTF-8 decoding leaves no lone
// surrogate, and a text that decoded without U+FFFD encodes back to the very
// same bytes (so nothing malformed or overlong slips through unmarked); every
// byte survives the code page's round trip, one unit per byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/cp1252.h"
#include "text/utf.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool SurrogatesPaired(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i])) return false;
    if (IsHighSurrogate(text[i])) {
      if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  namespace text = sympack::text;

  const std::u16string decoded = text::Utf8ToUtf16(bytes);
  FUZZ_CHECK(SurrogatesPaired(decoded), "a lone surrogate from UTF-8");
  FUZZ_CHECK(decoded.size() <= bytes.size(), "more units than bytes");
  if (decoded.find(kReplacement) == std::u16string::npos) {
    FUZZ_CHECK(text::Utf16ToUtf8(decoded) == bytes, "UTF-8 accepted unmarked but changed");
  }

  const std::u16string wide = text::Cp1252ToUtf16(bytes);
  FUZZ_CHECK(wide.size() == bytes.size(), "not one unit per byte");
  FUZZ_CHECK(text::Utf16ToCp1252(wide) == bytes, "a byte lost in the code page round trip");
  return 0;
}
