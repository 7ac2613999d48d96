#include <gtest/gtest.h>

#include "code_pages.h"
#include "command/upper_case.h"
#include "text/utf.h"

namespace sympack::command {
namespace {

std::string SingleByte(std::string_view text) { return UpperCase(text, text::SingleByteCharacterLength, true); }

TEST(UpperCase, LettersAToZOnly) {
  EXPECT_EQ(SingleByte("cq k1abc fn42"), "CQ K1ABC FN42");
  EXPECT_EQ(SingleByte("az{`@[/ 09"), "AZ{`@[/ 09");
  EXPECT_EQ(SingleByte(""), "");
}

TEST(UpperCase, SevenPcLettersMapByteForByte) {
  EXPECT_EQ(SingleByte("\x84\x94\x81\x82\xA4\x86\x87"), "\x8E\x99\x9A\x90\xA5\x8F\x80");
  // Their capitals and every other high byte stay as they are.
  EXPECT_EQ(SingleByte("\x8E\xE9\xE4\xFF\x80"), "\x8E\xE9\xE4\xFF\x80");
}

TEST(UpperCase, EveryOtherByteIsUnchangedAndLengthIsKept) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string upper = SingleByte(all);
  ASSERT_EQ(upper.size(), all.size());
  int changed = 0;
  for (std::size_t i = 0; i < all.size(); ++i) changed += upper[i] != all[i];
  EXPECT_EQ(changed, 26 + 7);
}

// In a multi-byte code page the high bytes are parts of characters (or, in
// code page 932, half-width katakana of their own): only a..z change, and
// only where they are characters of their own, never as a trail byte
// (ツ 0x83 0x63 is not イ 0x83 0x43; ソ 0x83 0x5C stays).
TEST(UpperCase, MultiByteCodePageChangesOnlyLettersOfTheirOwn) {
  EXPECT_EQ(UpperCase("\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB a\x84", text::Utf8CharacterLength, false),
            "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB A\x84");
  EXPECT_EQ(UpperCase("\x83\x63\x83\x5C a\xA4\x84", testing::DoubleByteCharacterLength, false),
            "\x83\x63\x83\x5C A\xA4\x84");
  EXPECT_EQ(UpperCase("cq \x83\x63z", testing::DoubleByteCharacterLength, false), "CQ \x83\x63Z");
}

}  // namespace
}  // namespace sympack::command
