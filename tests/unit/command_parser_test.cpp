// Our stand-in interpreter's reading of a command and of C program arguments.
#include <gtest/gtest.h>

#include <algorithm>

#include "command_parser.h"
#include "interpreter_switches.h"
#include "percent_expansion.h"
#include "program_lookup.h"

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
  EXPECT_EQ(ParseCommand("A (B)").refused.value_or(0), '(');
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

// The documented command-line-mode rules, with OS=Windows_NT and PATH=C:\A
// defined and nothing else.
TEST(ExpandPercents, CommandLineModeRules) {
  const VariableLookup lookup = [](std::string_view name) -> std::optional<std::string> {
    if (name == "OS" || name == "os") return "Windows_NT";
    if (name == "PATH") return "C:\\A";
    return std::nullopt;
  };
  const auto expand = [&](std::string_view line) { return ExpandPercents(line, lookup); };
  EXPECT_EQ(expand("%OS% %os%"), "Windows_NT Windows_NT");
  EXPECT_EQ(expand("%OS:~0,3% %OS:~-2% %OS:~3,-3% %OS:~,%"), "Win NT dows ");
  EXPECT_EQ(expand("%PATH:a=B% %PATH:*\\=%"), "C:\\B A");
  // The caret means nothing here: the name ends at the colon.
  EXPECT_EQ(expand("^%OS:~0,3^%"), "^Win");
  // An undefined name keeps its % and the closing one may open a new name.
  EXPECT_EQ(expand("%%OS%%"), "%Windows_NT%");
  EXPECT_EQ(expand("%X%OS%"), "%XWindows_NT");
  EXPECT_EQ(expand("100% %OS"), "100% %OS");
  EXPECT_EQ(expand("%OS:abc% %OS:~1"), "%OS:abc% %OS:~1");
  EXPECT_EQ(expand("%^OS%"), "%^OS%");
}

TEST(SplitTypeNames, BlanksTabsCommasSemicolonsAndEqualsSeparateOutsideQuotes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTypeNames("a b\tc,d;e=f"), (V{"a", "b", "c", "d", "e", "f"}));
  EXPECT_EQ(SplitTypeNames("\"my file.inc\" \"a,b\"x"), (V{"my file.inc", "a,bx"}));
  EXPECT_EQ(SplitTypeNames(" ,; \"\""), (V{""}));
}

TEST(FindProgramFile, CurrentFolderThenPathAndOnlyExecutableExtensions) {
  const std::vector<std::string> files = {"fst4sim", "FST4SIM.TXT", "bin/FST4SIM.EXE", "tool.exe", "bin/x.CMD"};
  const auto exists = [&](const std::string& path) {
    return std::find(files.begin(), files.end(), path) != files.end();
  };
  const auto find = [&](std::string_view name) { return FindProgramFile(name, command::kPathExtWhenUnset, "bin", ':', exists); };
  EXPECT_EQ(find("FST4SIM"), "bin/FST4SIM.EXE") << "never the file without an extension";
  EXPECT_EQ(find("tool.exe"), "tool.exe");
  EXPECT_EQ(find("tool"), "");
  EXPECT_EQ(find("FST4SIM.TXT"), "") << "not an executable extension";
  EXPECT_EQ(find("x"), "bin/x.CMD");
  EXPECT_EQ(find("./FST4SIM"), "") << "a folder part: not looked for on PATH";
  EXPECT_EQ(ProgramFileNames("a.b", ".COM;.EXE"), (std::vector<std::string>{"a.b.COM", "a.b.EXE"}));
}

TEST(ReadInterpreterLine, SwitchesBeforeTheCommand) {
  const auto plain = ReadInterpreterLine(" /C  TYPE x");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->command, "TYPE x");
  EXPECT_TRUE(plain->autoRun);
  EXPECT_FALSE(plain->delayedExpansion);
  const auto node = ReadInterpreterLine("/d /s /c \"x y\"");
  ASSERT_TRUE(node);
  EXPECT_FALSE(node->autoRun);
  EXPECT_TRUE(node->keepQuotesRuleOff);
  EXPECT_EQ(node->command, "\"x y\"");
  EXPECT_EQ(ReadInterpreterLine("/D /V:OFF /C x")->delayedExpansion, std::optional<bool>(false));
  EXPECT_EQ(ReadInterpreterLine("/v:on /q /C x")->delayedExpansion, std::optional<bool>(true));
  EXPECT_FALSE(ReadInterpreterLine("/K TYPE x"));
  EXPECT_FALSE(ReadInterpreterLine("/CTYPE"));
  EXPECT_FALSE(ReadInterpreterLine("TYPE x"));
}

TEST(CommandAfterQuoteRule, KeptOnlyAroundOneProgramNameWithABlank) {
  const auto rule = [](std::string_view line) {
    return CommandAfterQuoteRule(*ReadInterpreterLine(line), [](std::string_view name) { return name == "my prog"; });
  };
  EXPECT_EQ(rule("/C \"my prog\""), "\"my prog\"");
  EXPECT_EQ(rule("/S /C \"my prog\""), "my prog");
  EXPECT_EQ(rule("/C \"my prog\" \"x\""), "my prog\" \"x");
  EXPECT_EQ(rule("/C \"other one\""), "other one");
  EXPECT_EQ(rule("/C FST4SIM \"CQ\""), "FST4SIM \"CQ\"");
}

// After percent expansion every CR goes, so a caret before one escapes the
// next character; a line feed ends the command, an escaped one continues it.
TEST(ReadCommand, CarriageReturnsGoAndLineFeedsEndTheCommand) {
  const VariableLookup none = [](std::string_view) { return std::nullopt; };
  EXPECT_EQ(ReadCommand("P ^A^%^\r^&^B", none).parsed.refused.value_or(0), '&');
  EXPECT_EQ(ReadCommand("P \"A\r\"B > OUT", none).arguments, "\"A\"B");
  const auto cut = ReadCommand("P \"A\nB\" > OUT", none);
  EXPECT_EQ(cut.arguments, "\"A");
  EXPECT_FALSE(cut.parsed.output);
  EXPECT_EQ(ReadCommand("P A^\n&B", none).arguments, "A&B");
}

// With delayed expansion on, each token holding a ! is read once more.
TEST(ReadCommand, DelayedExpansionWhenOn) {
  const VariableLookup lookup = [](std::string_view name) -> std::optional<std::string> {
    if (name == "OS") return "Windows_NT";
    return std::nullopt;
  };
  const auto delayed = [&](std::string_view command) { return ReadCommand(command, lookup, true).arguments; };
  EXPECT_EQ(delayed("P \"!OS! !OS:~0,3! !X!\""), "\"Windows_NT Win \"");
  EXPECT_EQ(delayed("P \"A^B!\""), "\"AB\"");
  EXPECT_EQ(delayed("P \"A^B\""), "\"A^B\"") << "no ! in the token: the caret stays";
  EXPECT_EQ(delayed("P ^^!OS^^! !!OS! A!"), "!OS! Windows_NT A");
  EXPECT_EQ(ReadCommand("P \"!OS!\"", lookup).arguments, "\"!OS!\"") << "off";
}

}  // namespace
}  // namespace sympack::cmd
