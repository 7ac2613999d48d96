#include <gtest/gtest.h>

#include "platform/name_match.h"

namespace sympack::platform {
namespace {

TEST(NameMatch, CaseIsIgnored) {
  EXPECT_TRUE(MatchesNamePattern(u"fst4sim.exe", u"FST4SIM.EXE"));
  EXPECT_TRUE(MatchesNamePattern(u"\u00E9T\u00C9.inc", u"\u00C9t\u00E9.INC"));
  EXPECT_FALSE(MatchesNamePattern(u"FST4SIM.EX", u"FST4SIM.EXE"));
  EXPECT_FALSE(MatchesNamePattern(u"FST4SIM.EXE2", u"FST4SIM.EXE"));
  EXPECT_FALSE(MatchesNamePattern(u"fst4sim.exe", u"FST4SIM.EXE", LetterCase::kExact));
  EXPECT_TRUE(MatchesNamePattern(u"FST4SIM.EXE", u"FST4S?M.*", LetterCase::kExact));
}

TEST(NameMatch, Wildcards) {
  EXPECT_TRUE(MatchesNamePattern(u"README", u"*.*"));  // no dot needed
  EXPECT_TRUE(MatchesNamePattern(u"a.b.c", u"*.c"));
  EXPECT_TRUE(MatchesNamePattern(u"FST4TEMP.TXT", u"fst4????.t?t"));
  EXPECT_FALSE(MatchesNamePattern(u"FST4TEMP.TXT", u"fst4???.txt"));
  EXPECT_TRUE(MatchesNamePattern(u"x", u"***"));
  EXPECT_FALSE(MatchesNamePattern(u"", u"?"));
}

TEST(NameMatch, ManyStarsDoNotTakeExponentialTime) {
  const std::u16string name(2000, u'a');
  const std::u16string pattern = u"*a*a*a*a*a*a*a*a*a*a*a*a*b";
  EXPECT_FALSE(MatchesNamePattern(name, pattern));
}

TEST(NameMatch, WindowsDropsTrailingDotsAndBlanksOfTheLastPart) {
  EXPECT_EQ(NormalisedWindowsName(u"dot.inc."), u"dot.inc");
  EXPECT_EQ(NormalisedWindowsName(u"x.inc . ."), u"x.inc");
  EXPECT_EQ(NormalisedWindowsName(u"sub.d\\x.inc"), u"sub.d\\x.inc");
  for (const std::u16string_view kept : {u".", u"..", u" ", u"a\\.", u"a/ .", u"C:.", u""}) {
    EXPECT_EQ(NormalisedWindowsName(kept), kept);
  }
}

TEST(NameMatch, WildcardDetection) {
  EXPECT_TRUE(HasWildcards(u"a*"));
  EXPECT_TRUE(HasWildcards(u"?"));
  EXPECT_FALSE(HasWildcards(u"FST4.INC"));
}

}  // namespace
}  // namespace sympack::platform
