#include <gtest/gtest.h>

#include "platform/name_match.h"

namespace sympack::platform {
namespace {

TEST(NameMatch, CaseIsIgnored) {
  EXPECT_TRUE(EqualsIgnoringCase(u"fst4sim.exe", u"FST4SIM.EXE"));
  EXPECT_TRUE(EqualsIgnoringCase(u"\u00E9T\u00C9.inc", u"\u00C9t\u00E9.INC"));
  EXPECT_FALSE(EqualsIgnoringCase(u"FST4SIM.EX", u"FST4SIM.EXE"));
  EXPECT_FALSE(EqualsIgnoringCase(u"FST4SIM.EXE2", u"FST4SIM.EXE"));
}

TEST(NameMatch, WindowsDropsTrailingDotsAndBlanksOfTheLastPart) {
  EXPECT_EQ(NormalisedWindowsName(u"dot.inc."), u"dot.inc");
  EXPECT_EQ(NormalisedWindowsName(u"x.inc . ."), u"x.inc");
  EXPECT_EQ(NormalisedWindowsName(u"sub.d\\x.inc"), u"sub.d\\x.inc");
  for (const std::u16string_view kept : {u".", u"..", u" ", u"a\\.", u"a/ .", u"C:.", u""}) {
    EXPECT_EQ(NormalisedWindowsName(kept), kept);
  }
}

TEST(NameMatch, DeviceNamesWithAnExtensionAreDevices) {
  for (const std::u16string_view device : {u"AUX.INC", u"com1.txt", u"nul.h", u"Con.tar.gz", u"aux .inc", u"LPT9.x",
                                            u"COM0.INC", u"com\u00B9.inc", u"CONOUT$.txt", u"sub\\prn.inc", u"C:nul.h",
                                            u"a/AUX.INC ."}) {
    EXPECT_TRUE(IsDeviceNameWithExtension(device)) << std::string(device.begin(), device.end());
  }
  for (const std::u16string_view file : {u"NUL", u"con", u"NUL.", u"aux . ", u"com10.txt", u"LPT.inc", u"auxx.inc",
                                          u"x.aux", u"nul\\beacon.inc", u"beacon.inc", u".nul"}) {
    EXPECT_FALSE(IsDeviceNameWithExtension(file)) << std::string(file.begin(), file.end());
  }
}

TEST(NameMatch, WildcardDetection) {
  EXPECT_TRUE(HasWildcards(u"a*"));
  EXPECT_TRUE(HasWildcards(u"?"));
  EXPECT_FALSE(HasWildcards(u"FST4.INC"));
}

}  // namespace
}  // namespace sympack::platform
