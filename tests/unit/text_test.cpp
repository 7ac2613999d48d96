// The code page and UTF conversions that every text crossing to the system
// goes through.
#include <gtest/gtest.h>

#include "text/cp1252.h"
#include "text/utf.h"

namespace sympack::text {
namespace {

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

}  // namespace
}  // namespace sympack::text
