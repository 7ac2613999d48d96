// Packing symbols four to a byte and laying out the include text.
#include <gtest/gtest.h>

#include <algorithm>

#include "../fakes/fake_common.h"
#include "include_file/c_header_text.h"
#include "include_file/include_text.h"

namespace sympack::include_file {
namespace {

const std::string kHeader = ";     FST4 SYMBOLS Packed 4 per byte\r\n";

// A listing of 160 symbols, `pattern` over and over.
ChannelSymbols Repeated(std::string_view pattern) {
  std::string listing;
  while (listing.size() < ChannelSymbols::kCount) listing += pattern;
  return *ChannelSymbols::FromListing(std::string_view(listing).substr(0, ChannelSymbols::kCount));
}

// The symbols of CQ K1ABC FN42, as the simulator lists them.
ChannelSymbols ReferenceSymbols() {
  std::string listing;
  for (std::size_t at = 8; at < 24; ++at) listing += fake::kGoodReportLines[at];
  return *ChannelSymbols::FromListing(listing);
}

std::string DataLines(const ChannelSymbols& symbols) {
  const std::string text = BuildIncludeText(symbols, "M");
  return text.substr(kHeader.size(), text.size() - kHeader.size() - std::string("    ;   M\r\n\r\n").size());
}

TEST(BuildIncludeText, TheReadmesExample) {
  const std::string text = BuildIncludeText(ReferenceSymbols(), "CQ K1ABC FN42");
  EXPECT_EQ(text.rfind(kHeader + "        de   0x1E, 0x4B, 0x4F, 0x5B, 0xCD, 0xD4, 0xA9, 0x75\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 25), "    ;   CQ K1ABC FN42\r\n\r\n");
  EXPECT_EQ(text.size(), kHeader.size() + 5 * 61 + 25);
}

TEST(BuildIncludeText, FourSymbolsAByteTheFirstInTheHighBitsEightBytesALine) {
  const std::string line = "        de   0x1B, 0xE4, 0x00, 0xFF, 0x40, 0x10, 0x04, 0x01\r\n";
  EXPECT_EQ(DataLines(Repeated("0123" "3210" "0000" "3333" "1000" "0100" "0010" "0001")),
            line + line + line + line + line);
}

TEST(BuildIncludeText, TheMessageGoesInUnchanged) {
  const std::string message("TEST 1 \"\x84\"  ", 12);
  const std::string ending = "    ;   " + message + "\r\n\r\n";
  const std::string text = BuildIncludeText(Repeated("0"), message);
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

// The C layout for a header: one symbol per array element.

const std::string kCHeaderComment = "/* FST4 SYMBOLS one per element, 0 to 3 */\r\n";

std::string CommentLine(const std::string& message) {
  const std::string text = BuildIncludeText(Repeated("0"), message, "BEACON.H");
  const std::size_t start = kCHeaderComment.size();
  return text.substr(start, text.find("\r\n", start) - start);
}

TEST(CHeaderLayout, TheReadmesExample) {
  // The guard is FNV-1a (64 bits) of the text less the guard's own lines.
  const std::string guard = "FST4_SYMBOLS_656FD12B701950CD";
  const std::string text = BuildIncludeText(ReferenceSymbols(), "CQ K1ABC FN42", "BEACON.H");
  EXPECT_EQ(text.substr(0, text.find("  0, 1, 3, 2")),
            kCHeaderComment + "/* CQ K1ABC FN42 */\r\n"
            "#ifndef " + guard + "\r\n"
            "#define " + guard + "\r\n"
            "#define FST4_SYMBOL_COUNT 160\r\n"
            "#if defined(FST4_SYMBOLS_IN_FLASH) && defined(__AVR__)\r\n"
            "#include <avr/pgmspace.h>\r\n"
            "#define FST4_SYMBOL(i) pgm_read_byte(&fst4_symbols_in_flash[(i)])\r\n"
            "static const unsigned char fst4_symbols_in_flash[FST4_SYMBOL_COUNT] PROGMEM = {\r\n"
            "#else\r\n"
            "#define FST4_SYMBOL(i) (fst4_symbols[(i)])\r\n"
            "static const unsigned char fst4_symbols[FST4_SYMBOL_COUNT] = {\r\n"
            "#endif\r\n");
  // Ten to a line, sixteen lines, the last without a comma.
  EXPECT_NE(text.find("#endif\r\n  0, 1, 3, 2, 1, 0, 2, 3, 1, 0,\r\n  3, 3, 1, 1, 2, 3, 3, 0, 3, 1,\r\n"),
            std::string::npos);
  const std::string end = ",\r\n  0, 1, 0, 1, 3, 2, 1, 0, 2, 3\r\n};\r\n#endif\r\n";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
  EXPECT_EQ(std::count(text.begin(), text.end(), ','), 159 + 1);  // and one in the first comment
}

TEST(CHeaderLayout, OnlyHeaderNamesGetIt) {
  for (const char* name : {"BEACON.H", "beacon.h", "inc/Beacon.Hpp", "x.HPP", ".h"}) {
    EXPECT_TRUE(NamesCHeader(name)) << name;
    EXPECT_EQ(BuildIncludeText(Repeated("0123"), "M", name).rfind(kCHeaderComment, 0), 0u) << name;
  }
  for (const char* name : {"FST4.INC", "", "h", "beacon.hh", "beacon.hxx", "beacon.c", "beacon.ino",
                           "beacon.h.bak", "beacon.hp"}) {
    EXPECT_FALSE(NamesCHeader(name)) << name;
    EXPECT_EQ(BuildIncludeText(ReferenceSymbols(), "TEST", name), BuildIncludeText(ReferenceSymbols(), "TEST"))
        << name;
  }
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
  EXPECT_NE(BuildIncludeText(Repeated("0"), both).find("    ;   " + both + "\r\n"), std::string::npos);
  EXPECT_EQ(CommentLine(CommentMessage("A*/B", "A*", false)), "/* A*  (typed: A* /B) */");
}

}  // namespace
}  // namespace sympack::include_file
