// Packing symbols four to a byte and laying out the include text.
#include <gtest/gtest.h>

#include "encoder/include_text.h"

namespace sympack::encoder {
namespace {

const std::string kHeader = ";     FST4 SYMBOLS Packed 4 per byte\r\n";

std::string DataLines(const std::string& symbols) {
  const std::string text = BuildIncludeText(symbols, "M");
  return text.substr(kHeader.size(), text.size() - kHeader.size() - std::string("    ;   M\r\n\r\n").size());
}

TEST(BuildIncludeText, TheWorkedExample) {
  const std::string text = BuildIncludeText("0123321001", "TEST");
  EXPECT_EQ(text, kHeader + "        de   0x1B, 0xE4, 0x10\r\n    ;   TEST\r\n\r\n");
  EXPECT_EQ(text.size(), 85u);
}

TEST(BuildIncludeText, NoSymbolsGiveNoDataLine) {
  EXPECT_EQ(BuildIncludeText("", "CQ"), kHeader + "    ;   CQ\r\n\r\n");
}

TEST(BuildIncludeText, EightValuesALineAndThenANewLine) {
  EXPECT_EQ(DataLines("0000"), "        de   0x00\r\n");
  const std::string four = "01233210012332100123321001233210";
  EXPECT_EQ(DataLines(four), "        de   0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4\r\n");
  EXPECT_EQ(DataLines(four + "1"),
            "        de   0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4\r\n        de   0x40\r\n");
}

TEST(BuildIncludeText, AShortLastGroupCountsMissingSymbolsAsZero) {
  EXPECT_EQ(DataLines("1"), "        de   0x40\r\n");
  EXPECT_EQ(DataLines("12"), "        de   0x60\r\n");
  EXPECT_EQ(DataLines("123"), "        de   0x6C\r\n");
  EXPECT_EQ(DataLines("2"), "        de   0x80\r\n");
}

TEST(BuildIncludeText, NonDigitsCountAsZero) {
  EXPECT_EQ(DataLines("3 21"), "        de   0xC9\r\n");
  EXPECT_EQ(DataLines("x123"), "        de   0x1B\r\n");
  EXPECT_EQ(DataLines(std::string("\x80\xFF\t-", 4)), "        de   0x00\r\n");
  EXPECT_EQ(DataLines("012332100000 Channel"), "        de   0x1B, 0xE4, 0x00, 0x00, 0x00\r\n");
}

TEST(BuildIncludeText, DigitsFourToNineOverflowAndLoseTheThirdHexDigit) {
  EXPECT_EQ(DataLines("4000"), "        de   0x10\r\n");  // 256 = 0x100
  EXPECT_EQ(DataLines("9999"), "        de   0x2F\r\n");  // 765 = 0x2FD
  EXPECT_EQ(DataLines("0040"), "        de   0x10\r\n");  // 16
  EXPECT_EQ(DataLines("3333"), "        de   0xFF\r\n");
}

TEST(BuildIncludeText, TheMessageGoesInUnchanged) {
  const std::string message("TEST 1 \"\x84\"  ", 12);
  const std::string ending = "    ;   " + message + "\r\n\r\n";
  const std::string text = BuildIncludeText("0", message);
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

TEST(BuildIncludeText, MegabytesOfSymbolsPackLikeTheFirstLine) {
  const std::size_t lines = 200000;  // 6.4 million symbols
  std::string symbols;
  for (std::size_t i = 0; i < lines * 4; ++i) symbols += "01233210";
  const std::string line = "        de   0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4\r\n";
  const std::string text = BuildIncludeText(symbols, "M");
  ASSERT_EQ(text.size(), kHeader.size() + lines * line.size() + 13);
  for (std::size_t i = 0; i < lines; i += 9973) {
    EXPECT_EQ(text.compare(kHeader.size() + i * line.size(), line.size(), line), 0) << i;
  }
  EXPECT_EQ(text.compare(kHeader.size() + (lines - 1) * line.size(), line.size(), line), 0);
}

}  // namespace
}  // namespace sympack::encoder
