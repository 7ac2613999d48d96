// Typed-line input: echo, editing, limits and ignored keys, driven by lists of
// keys on an in-memory screen.
#include <gtest/gtest.h>

#include "console/console.h"
#include "memory_screen.h"
#include "memory_system.h"

namespace sympack {
namespace {

using testing::KeyList;
using testing::MemoryScreen;

// The code page the texts are converted by, and a clock that does not sleep.
testing::MemorySystem memory;

struct LineInput : ::testing::Test {
  MemoryScreen screen{10, 4};
  KeyList keys;
  console::Console console{screen, keys, memory, memory};
};

TEST_F(LineInput, TypedTextIsEchoedAfterThePromptAndEnterEndsTheLine) {
  console.WriteText("M  ");
  keys.Type(u"cq").Enter().Type(u"left over");
  EXPECT_EQ(console.ReadLine(), u"cq");
  EXPECT_EQ(screen.RowTrimmed(0), "M  cq");
  EXPECT_EQ(screen.CursorX(), 0);
  EXPECT_EQ(screen.CursorY(), 1);
  EXPECT_EQ(keys.Remaining(), 19u);  // Enter's release and the keys after it stay for the next read
}

TEST_F(LineInput, NothingIsTrimmed) {
  keys.Type(u"  a, \"b\"  ").Enter();
  EXPECT_EQ(console.ReadLine(), u"  a, \"b\"  ");
}

TEST_F(LineInput, BackspaceOnAnEmptyLineChangesNothing) {
  screen.MoveCursor(3, 1);
  keys.Backspace().Backspace().Type(u"x").Enter();
  EXPECT_EQ(console.ReadLine(), u"x");
  EXPECT_EQ(screen.RowTrimmed(1), "   x");
  EXPECT_EQ(screen.RowTrimmed(0), "");
}

TEST_F(LineInput, BackspaceRemovesTheLastCharacterAndBlanksItsCell) {
  keys.Type(u"abc").Backspace().Type(u"d").Enter();
  EXPECT_EQ(console.ReadLine(), u"abd");
  EXPECT_EQ(screen.RowTrimmed(0), "abd");
}

TEST_F(LineInput, BackspaceWalksBackOverTheRowEdge) {
  screen.MoveCursor(8, 0);
  keys.Type(u"abcd").Backspace().Backspace().Backspace();
  keys.Enter();
  EXPECT_EQ(console.ReadLine(), u"a");
  EXPECT_EQ(screen.Row(0), "        a ");
  EXPECT_EQ(screen.RowTrimmed(1), "");
}

TEST_F(LineInput, BackspaceAfterFillingTheLastRowStaysOnItWithoutScrolling) {
  screen.MoveCursor(7, 3);
  keys.Type(u"xyz");  // fills the last cell: the scroll is pending
  keys.Backspace().Type(u"Q").Enter();
  EXPECT_EQ(console.ReadLine(), u"xyQ");
  EXPECT_EQ(screen.scrolls, 2);  // none before Enter; Enter with the wrap pending scrolls twice
  EXPECT_EQ(screen.Row(1), "       xyQ");
}

TEST_F(LineInput, KeysWithoutCharacterControlKeysAndReleasesAreIgnored) {
  keys.Key(0).Key(0).Key(9).Key(27).Key(3).Type(u"ok").Enter();  // Up, F1, Tab, Esc, Ctrl+C
  EXPECT_EQ(console.ReadLine(), u"ok");
  EXPECT_EQ(screen.RowTrimmed(0), "ok");
}

TEST_F(LineInput, AShortcutIsIgnoredButAltWithADigitIsTyped) {
  keys.Shortcut(u'f').Key(u'7', true).Enter();
  EXPECT_EQ(console.ReadLine(), u"7");
}

TEST_F(LineInput, AtTheLimitFurtherCharactersAreNeitherKeptNorShown) {
  MemoryScreen big{100, 200};
  console::Console wide{big, keys, memory, memory};
  keys.Type(std::u16string(console::kMaxTypedLine + 5, u'x'));
  keys.Backspace().Type(u"yz").Enter();
  const std::u16string line = wide.ReadLine().value();
  EXPECT_EQ(line.size(), console::kMaxTypedLine);
  EXPECT_EQ(line.back(), u'y');
  EXPECT_EQ(big.CellAt(99, 99).ch, u'y');  // the 10000th cell, retyped after Backspace
  EXPECT_EQ(big.CellAt(0, 100).ch, u' ');   // "z" was neither kept nor shown
}

// The line is given as typed; whether the code page holds it is the run's
// to decide.
TEST_F(LineInput, CharactersOutsideTheCodePageStayAsTyped) {
  keys.Type(u"a\u0416\u00E9").Enter();
  EXPECT_EQ(console.ReadLine(), u"a\u0416\u00E9");
}

// A line read from standard input is text, not keys: tab, NUL, BEL,
// backspace, ESC and DEL stay in it (the run refuses such a line), and
// only its line end is Enter.
TEST_F(LineInput, ALineFromStandardInputKeepsEveryCharacter) {
  const std::u16string line(u"a\tb\0c\ad\be\x1B\x7F", 11);
  keys.Literal(line).Enter();
  EXPECT_EQ(console.ReadLine(), line);
}

// The keyboard went away (a hang-up) before Enter: no answer at all, not
// the text typed so far.
TEST_F(LineInput, ALostKeyboardGivesNoLine) {
  keys.Type(u"ab");
  EXPECT_EQ(console.ReadLine(), std::nullopt);
  EXPECT_EQ(screen.RowTrimmed(0), "ab");
  EXPECT_EQ(console.ReadLine(), std::nullopt);
}

TEST_F(LineInput, AHiddenCursorIsShownWhileTypingAndHiddenAgain) {
  screen.shape = {10, false};
  keys.Type(u"a").Enter();
  console.ReadLine();
  EXPECT_EQ(screen.shapeChanges, 2);
  EXPECT_FALSE(screen.shape.visible);
}

// The terminal was the shell's meanwhile (a stop and continue): the prompt
// and the text so far show again on a line of their own, and typing goes on
// after them.
TEST_F(LineInput, ARedrawShowsThePromptAndTheTypedTextAgain) {
  console.WriteText("D ");
  keys.Type(u"ab").Redraw().Type(u"c").Enter();
  EXPECT_EQ(console.ReadLine(), u"abc");
  EXPECT_EQ(screen.RowTrimmed(0), "D ab");
  EXPECT_EQ(screen.RowTrimmed(1), "D abc");
  EXPECT_EQ(screen.CursorY(), 2);
}

TEST_F(LineInput, TheFirstFieldOfATypedLine) {
  keys.Type(u"  out.inc  , rest").Enter();
  EXPECT_EQ(console::FirstField(console.ReadLine().value()), u"out.inc");
}

TEST(FirstField, BlanksCommasAndQuotes) {
  const struct {
    std::u16string line, field;
  } cases[] = {
      {u"", u""}, {u"   ", u""}, {u",x.inc", u""}, {u"  ,x.inc", u""}, {u"a.inc", u"a.inc"},
      {u"a b.inc  ,c", u"a b.inc"}, {u"a\"b,c", u"a\"b"}, {u"\"x, y.inc\" tail,z", u"x, y.inc"},
      {u"  \"open quote, here", u"open quote, here"}, {u"\"\",x", u""}, {u"\ta,b", u"\ta"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(console::FirstField(c.line), c.field) << std::string(c.line.begin(), c.line.end());
  }
}

}  // namespace
}  // namespace sympack
