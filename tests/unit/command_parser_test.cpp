// Our stand-in interpreter's reading of a command and of C program arguments.
#include <gtest/gtest.h>

#include "command_parser.h"

namespace sympack::cmd {
namespace {

TEST(ParseCommand, RedirectionIsTakenOutAndItsTargetRead) {
  const auto parsed = ParseCommand("PROG a b > OUT.TXT");
  EXPECT_EQ(parsed.text, "PROG a b");
  EXPECT_EQ(parsed.output.value_or(""), "OUT.TXT");
  EXPECT_FALSE(parsed.append);

  const auto appended = ParseCommand("PROG >>\"my file.txt\" x");
  EXPECT_TRUE(appended.append);
  EXPECT_EQ(appended.output.value_or(""), "my file.txt");
  EXPECT_EQ(appended.text, "PROG  x");
}

TEST(ParseCommand, EscapesAndQuotes) {
  EXPECT_EQ(ParseCommand("A ^& ^^ ^>").text, "A & ^ >");
  EXPECT_FALSE(ParseCommand("A \"&|<>\"").refused);
  EXPECT_FALSE(ParseCommand("A \"x > y\"").output);
  // An escaped quote does not open quotes: the > after it redirects.
  EXPECT_EQ(ParseCommand("A ^\"B > C").output.value_or(""), "C");
}

TEST(ParseCommand, ChainingAndInputRedirectionAreRefused) {
  EXPECT_EQ(ParseCommand("A & B").refused.value_or(0), '&');
  EXPECT_EQ(ParseCommand("A | B").refused.value_or(0), '|');
  EXPECT_EQ(ParseCommand("A < B").refused.value_or(0), '<');
  EXPECT_EQ(ParseCommand("\"x\" & B").refused.value_or(0), '&');
}

TEST(SplitArguments, WindowsCProgramRules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitArguments("  a  b\tc "), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitArguments("\"CQ K1ABC FN42\" 120  1500"), (V{"CQ K1ABC FN42", "120", "1500"}));
  EXPECT_EQ(SplitArguments("a\"b c\"d"), (V{"ab cd"}));
  EXPECT_EQ(SplitArguments("\"\""), (V{""}));
  EXPECT_EQ(SplitArguments("\"\"CQ\"\""), (V{"CQ"}));
  EXPECT_EQ(SplitArguments("\"a\"\"b\""), (V{"a\"b"}));
  EXPECT_EQ(SplitArguments("a\\\\b \\\"x \\\\\"y z\""), (V{"a\\\\b", "\"x", "\\y z"}));
  EXPECT_EQ(SplitArguments("\"open quote"), (V{"open quote"}));
}

TEST(FirstWord, QuotedOrPlain) {
  std::string_view rest;
  EXPECT_EQ(FirstWord("  TYPE  a b", rest), "TYPE");
  EXPECT_EQ(rest, "a b");
  EXPECT_EQ(FirstWord("\"my prog\" x", rest), "my prog");
  EXPECT_EQ(rest, "x");
}

TEST(AfterSwitch, NeedsTheCSwitch) {
  EXPECT_EQ(AfterSwitch(" /C  TYPE x").value_or("none"), "TYPE x");
  EXPECT_EQ(AfterSwitch("/c TYPE x").value_or("none"), "TYPE x");
  EXPECT_FALSE(AfterSwitch("/K TYPE x"));
  EXPECT_FALSE(AfterSwitch("/CTYPE"));
  EXPECT_FALSE(AfterSwitch("TYPE x"));
}

}  // namespace
}  // namespace sympack::cmd
