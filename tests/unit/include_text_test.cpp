// Packing symbols four to a byte and laying out the include text.
#include <gtest/gtest.h>

#include "include_file/c_header_text.h"
#include "include_file/include_text.h"

namespace sympack::include_file {
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

// The C layout for a header: one symbol per array element.

const std::string kCHeaderComment = "/* FST4 SYMBOLS one per element, 0 to 3 */\r\n";

// The lines of a C header text from the count line on.
std::string CountAndArray(const std::string& symbols) {
  const std::string text = BuildIncludeText(symbols, "M", "beacon.h");
  const std::size_t at = text.find("#define FST4_SYMBOL_COUNT");
  return at == std::string::npos ? text : text.substr(at);
}

std::string CommentLine(const std::string& message) {
  const std::string text = BuildIncludeText("0", message, "BEACON.H");
  const std::size_t start = kCHeaderComment.size();
  return text.substr(start, text.find("\r\n", start) - start);
}

TEST(CHeaderLayout, TheWorkedExample) {
  // The guard is FNV-1a (64 bits) of the text less the guard's own lines.
  const std::string guard = "FST4_SYMBOLS_D0B75AC084B7C5F9";
  EXPECT_EQ(BuildIncludeText("0123321001", "TEST", "BEACON.H"),
            kCHeaderComment + "/* TEST */\r\n"
            "#ifndef " + guard + "\r\n"
            "#define " + guard + "\r\n"
            "#define FST4_SYMBOL_COUNT 10\r\n"
            "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)\r\n"
            "#include <avr/pgmspace.h>\r\n"
            "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])\r\n"
            "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {\r\n"
            "#else\r\n"
            "#define FST4_SYMBOL(i) (fst4_symbols[(i)])\r\n"
            "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {\r\n"
            "#endif\r\n"
            "  0, 1, 2, 3, 3, 2, 1, 0, 0, 1\r\n"
            "};\r\n"
            "#endif\r\n");
}

TEST(CHeaderLayout, OnlyHeaderNamesGetIt) {
  for (const char* name : {"BEACON.H", "beacon.h", "inc/Beacon.Hpp", "x.HPP", ".h"}) {
    EXPECT_TRUE(NamesCHeader(name)) << name;
    EXPECT_EQ(BuildIncludeText("0123", "M", name).rfind(kCHeaderComment, 0), 0u) << name;
  }
  for (const char* name : {"FST4.INC", "", "h", "beacon.hh", "beacon.hxx", "beacon.c", "beacon.ino",
                           "beacon.h.bak", "beacon.hp"}) {
    EXPECT_FALSE(NamesCHeader(name)) << name;
    EXPECT_EQ(BuildIncludeText("0123321001", "TEST", name), BuildIncludeText("0123321001", "TEST"))
        << name;
  }
}

TEST(CHeaderLayout, EverySymbolTheReportHoldsTenToALine) {
  EXPECT_EQ(CountAndArray("0123321001" "2"),
            "#define FST4_SYMBOL_COUNT 11\r\n"
            "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)\r\n"
            "#include <avr/pgmspace.h>\r\n"
            "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])\r\n"
            "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {\r\n"
            "#else\r\n"
            "#define FST4_SYMBOL(i) (fst4_symbols[(i)])\r\n"
            "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {\r\n"
            "#endif\r\n"
            "  0, 1, 2, 3, 3, 2, 1, 0, 0, 1,\r\n"
            "  2\r\n"
            "};\r\n"
            "#endif\r\n");
  EXPECT_EQ(CountAndArray("3"),
            "#define FST4_SYMBOL_COUNT 1\r\n"
            "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)\r\n"
            "#include <avr/pgmspace.h>\r\n"
            "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])\r\n"
            "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {\r\n"
            "#else\r\n"
            "#define FST4_SYMBOL(i) (fst4_symbols[(i)])\r\n"
            "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {\r\n"
            "#endif\r\n"
            "  3\r\n"
            "};\r\n"
            "#endif\r\n");
}

TEST(CHeaderLayout, WhatIsNotASymbolFailsToCompileInsteadOfBecomingAValue) {
  const std::string text = BuildIncludeText("0124 x", "M", "beacon.h");
  EXPECT_NE(text.find("\r\n#error \"FST4 symbols: the simulator's report holds characters other "
                      "than 0 to 3 (FST4_NOT_A_SYMBOL)\"\r\n#define FST4_SYMBOL_COUNT 6\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n  0, 1, 2, FST4_NOT_A_SYMBOL, FST4_NOT_A_SYMBOL, FST4_NOT_A_SYMBOL\r\n"),
            std::string::npos);
  EXPECT_EQ(CountAndArray("0123").find("#error"), std::string::npos);

  EXPECT_EQ(CountAndArray(""), "#define FST4_SYMBOL_COUNT 0\r\n#endif\r\n");
  EXPECT_NE(BuildIncludeText("", "M", "beacon.h")
                .find("\r\n#error \"FST4 symbols: the simulator's report holds none\"\r\n"),
            std::string::npos);
}

TEST(CHeaderLayout, NoMessageByteCanEndOrExtendItsComment) {
  EXPECT_EQ(CommentLine("CQ */ K1ABC"), "/* CQ * / K1ABC */");
  EXPECT_EQ(CommentLine("*/"), "/* * / */");
  EXPECT_EQ(CommentLine("A/*/B**//"), "/* A/ * /B** // */");
  // A trailing backslash or trigraph stays: the comment's own end follows it
  // on the same line, so it cannot splice the next line in.
  EXPECT_EQ(CommentLine("K1ABC\\"), "/* K1ABC\\ */");
  EXPECT_EQ(CommentLine("WHAT?\?/"), "/* WHAT?\?/ */");
  // Control bytes, line ends among them, are replaced; tab and the code
  // page's upper half stay.
  EXPECT_EQ(CommentLine(std::string("A\r\nB\0C\x1a\x7f\tD\x84\xff", 12)), "/* A??B?C??\tD\x84\xff */");
}

// When the report says the symbols carry another text, both layouts' comments
// hold it first and the typed message beside it, marked as typed.
TEST(CommentMessage, TheCarriedTextFirstAndTheTypedOneMarkedInBothLayouts) {
  const std::string typed = "HELLO WORLD THIS IS LONG";
  EXPECT_EQ(CommentMessage(typed, "HELLO WORLD T", true), typed);
  const std::string both = CommentMessage(typed, "HELLO WORLD T", false);
  EXPECT_EQ(both, "HELLO WORLD T  (typed: HELLO WORLD THIS IS LONG)");
  EXPECT_NE(BuildIncludeText("0", both).find("    ;   " + both + "\r\n"), std::string::npos);
  EXPECT_EQ(CommentLine(CommentMessage("A*/B", "A*", false)), "/* A*  (typed: A* /B) */");
}

}  // namespace
}  // namespace sympack::include_file
