// The code page and UTF conversions that every text crossing to the system
// goes through, and the Base64 of the clipboard's escape sequence.
#include <gtest/gtest.h>

#include "text/base64.h"
#include "text/cp1252.h"
#include "text/marked_input.h"
#include "text/utf.h"

namespace sympack::text {
namespace {

// RFC 4648's test vectors (section 10) cover every length modulo 3, so each
// padding case; the last row has the high bits and a NUL.
TEST(Base64, TheRfcVectorsAndHighBytes) {
  const struct {
    std::string_view bytes, text;
  } rows[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
              {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
              {"foobar", "Zm9vYmFy"}, {std::string_view("\xFF\xFE\xFD\x00\x80", 5), "//79AIA="}};
  for (const auto& row : rows) EXPECT_EQ(Base64(row.bytes), row.text) << row.text;
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = Cp1252ToUtf16(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(wide), all);
}

TEST(Cp1252, HighBytesMapToTheirCharacters) {
  EXPECT_EQ(Cp1252ToUtf16("\x80\x8A\x9F\xA0\xE9\xFF"), u"\u20AC\u0160\u0178\u00A0\u00E9\u00FF");
  EXPECT_EQ(Cp1252ToUtf16("\x81\x9D"), u"\u0081\u009D");  // undefined slots: C1 controls
}

TEST(Cp1252, UnrepresentableCharactersBecomeTheDefaultCharacter) {
  EXPECT_EQ(Utf16ToCp1252(u"a\u0416b\u4E2D\U0001F600"), "a?b???");
}

TEST(Utf, ConvertsAllPlanesBothWays) {
  const std::u16string wide = u"A\u00E9\u20AC\U0001F600";
  const std::string utf8 = Utf16ToUtf8(wide);
  EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16(utf8), wide);
}

TEST(Utf, MalformedBytesBecomeReplacementCharactersOneForOne) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");             // cut short at the end
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");   // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // a surrogate
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");    // a lone surrogate
}

// Answers as any editor saves them (no mark, UTF-8 with its mark, UTF-16 in
// either byte order with its mark), read in pieces of every size, give the
// same text: the mark is gone, nothing is split, nothing is lost.
TEST(MarkedInput, EveryEncodingAndEveryReadSizeGiveTheTypedText) {
  const std::u16string typed = u"cq k1abc fn42\r\n\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.inc \U0001F4FB\n";
  const std::string utf8 = Utf16ToUtf8(typed);
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (const char16_t unit : typed) {
    le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
  }
  const struct {
    std::string bytes;
    InputEncoding encoding;
  } kSaved[] = {{utf8, InputEncoding::kAsIs},
                {"\xEF\xBB\xBF" + utf8, InputEncoding::kUtf8},
                {le, InputEncoding::kUtf16Le},
                {be, InputEncoding::kUtf16Be}};
  for (const auto& saved : kSaved) {
    for (std::size_t piece = 1; piece <= 7; ++piece) {
      MarkedInput input;
      std::string text;
      for (std::size_t at = 0; at < saved.bytes.size(); at += piece) {
        input.Take(std::string_view(saved.bytes).substr(at, piece));
        text += input.Drain();
      }
      input.End();
      text += input.Drain();
      EXPECT_EQ(text, utf8) << static_cast<int>(saved.encoding) << " in pieces of " << piece;
      EXPECT_EQ(input.Encoding(), saved.encoding);
      EXPECT_EQ(input.IsUtf8(), saved.encoding != InputEncoding::kAsIs);
    }
  }
  // The start of a mark and nothing after it is text as it stands; so is a
  // lone last byte of UTF-16 (a replacement character).
  MarkedInput part;
  part.Take("\xEF\xBB");
  EXPECT_EQ(part.Drain(), "");
  part.End();
  EXPECT_EQ(part.Drain(), "\xEF\xBB");
  MarkedInput odd;
  odd.Take(std::string("\xFF\xFE" "A\0B", 5));
  odd.End();
  EXPECT_EQ(odd.Drain(), "A\xEF\xBF\xBD");
}

}  // namespace
}  // namespace sympack::text
