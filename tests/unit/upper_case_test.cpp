#include <gtest/gtest.h>

#include "simulator/upper_case.h"

namespace sympack::simulator {
namespace {

TEST(UpperCase, LettersAToZOnly) {
  EXPECT_EQ(UpperCase("cq k1abc fn42"), "CQ K1ABC FN42");
  EXPECT_EQ(UpperCase("az{`@[/ 09"), "AZ{`@[/ 09");
  EXPECT_EQ(UpperCase(""), "");
}

TEST(UpperCase, SevenPcLettersMapByteForByte) {
  EXPECT_EQ(UpperCase("\x84\x94\x81\x82\xA4\x86\x87"), "\x8E\x99\x9A\x90\xA5\x8F\x80");
  // Their capitals and every other high byte stay as they are.
  EXPECT_EQ(UpperCase("\x8E\xE9\xE4\xFF\x80"), "\x8E\xE9\xE4\xFF\x80");
}

TEST(UpperCase, EveryOtherByteIsUnchangedAndLengthIsKept) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string upper = UpperCase(all);
  ASSERT_EQ(upper.size(), all.size());
  int changed = 0;
  for (std::size_t i = 0; i < all.size(); ++i) changed += upper[i] != all[i];
  EXPECT_EQ(changed, 26 + 7);
}

// In a UTF-8 code page the high bytes are parts of characters: only a..z change.
TEST(UpperCase, MultiByteCodePageLeavesHighBytesAlone) {
  EXPECT_EQ(UpperCase("\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB a\x84", false), "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB A\x84");
}

}  // namespace
}  // namespace sympack::simulator
