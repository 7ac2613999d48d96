// The console's output rules, cell by cell on an in-memory screen.
#include <gtest/gtest.h>

#include <vector>

#include "console/console.h"
#include "console/transcript.h"
#include "memory_screen.h"
#include "memory_system.h"

namespace sympack {
namespace {

using testing::KeyList;
using testing::MemoryScreen;

// The code page the texts are converted by, and a clock that does not sleep.
testing::MemorySystem memory;

struct ConsoleOutput : ::testing::Test {
  MemoryScreen screen{10, 4};
  KeyList keys;
  console::Console console{screen, keys, memory, memory};
};

TEST_F(ConsoleOutput, TextGoesAtTheCursorInTheCurrentColourAndLeavesTheCursorAfterIt) {
  screen.MoveCursor(2, 1);
  console.SetTextColor(14);
  console.WriteText("abc");
  EXPECT_EQ(screen.Row(1), "  abc     ");
  EXPECT_EQ(screen.CellAt(2, 1).attribute, 14);
  EXPECT_EQ(screen.CellAt(5, 1).attribute, 7);  // untouched
  EXPECT_EQ(screen.CursorX(), 5);
  EXPECT_EQ(screen.consoleAttribute, 14);
}

TEST_F(ConsoleOutput, ControlCharactersAreCellsNotActions) {
  console.WriteText(std::string("a\r\n\tb", 5));
  EXPECT_EQ(screen.CursorX(), 5);
  EXPECT_EQ(screen.CursorY(), 0);
  EXPECT_EQ(screen.CellAt(1, 0).ch, u'\r');
  EXPECT_EQ(screen.CellAt(3, 0).ch, u'\t');
}

TEST_F(ConsoleOutput, AnsiBytesBecomeTheirUnicodeCharacters) {
  console.WriteText("\x80\xE9");
  EXPECT_EQ(screen.CellAt(0, 0).ch, u'\u20AC');
  EXPECT_EQ(screen.CellAt(1, 0).ch, u'\u00E9');
}

TEST_F(ConsoleOutput, TextWrapsAtTheRowEndWithoutLosingACharacter) {
  screen.MoveCursor(7, 0);
  console.WriteText("12345");
  EXPECT_EQ(screen.Row(0), "       123");
  EXPECT_EQ(screen.RowTrimmed(1), "45");
  EXPECT_EQ(screen.CursorX(), 2);
  EXPECT_EQ(screen.CursorY(), 1);
  EXPECT_FALSE(screen.rowOverflow);
}

TEST_F(ConsoleOutput, FillingTheLastRowDefersTheScrollUntilMoreOutput) {
  screen.MoveCursor(0, 3);
  console.WriteText("0123456789");
  EXPECT_EQ(screen.scrolls, 0);
  EXPECT_EQ(screen.CursorX(), 0);
  EXPECT_EQ(screen.CursorY(), 3);

  console.WriteText("x");  // the wrap was pending: the row scrolls first
  EXPECT_EQ(screen.scrolls, 1);
  EXPECT_EQ(screen.Row(2), "0123456789");
  EXPECT_EQ(screen.RowTrimmed(3), "x");
  console.EndLine();  // and is pending no more: one scroll, not two
  EXPECT_EQ(screen.scrolls, 2);
}

TEST_F(ConsoleOutput, TextRunningPastTheLastRowScrollsAndGoesOn) {
  screen.MoveCursor(8, 3);
  console.WriteText("abcd");
  EXPECT_EQ(screen.scrolls, 1);
  EXPECT_EQ(screen.Row(2), "        ab");
  EXPECT_EQ(screen.RowTrimmed(3), "cd");
  EXPECT_EQ(screen.CursorX(), 2);
}

TEST_F(ConsoleOutput, ScrollFillsTheNewRowInTheCurrentColour) {
  console.SetTextColor(6);
  screen.MoveCursor(0, 3);
  console.EndLine();
  EXPECT_EQ(screen.CellAt(0, 3).attribute, 6);
}

TEST_F(ConsoleOutput, EndLineMovesToTheNextRowOrScrollsAtTheBottom) {
  screen.MoveCursor(4, 1);
  console.EndLine();
  EXPECT_EQ(screen.CursorX(), 0);
  EXPECT_EQ(screen.CursorY(), 2);
  EXPECT_EQ(screen.scrolls, 0);

  screen.MoveCursor(4, 3);
  console.EndLine();
  EXPECT_EQ(screen.scrolls, 1);
  EXPECT_EQ(screen.CursorY(), 3);
}

TEST_F(ConsoleOutput, ExactlyFilledRowFollowedByEndLineLeavesOneEmptyRow) {
  console.WriteLine("0123456789");
  EXPECT_EQ(screen.CursorY(), 2);  // row 1 is the empty one

  screen.MoveCursor(0, 3);
  console.WriteLine("0123456789");  // on the last row: one scroll for the wrap, one for the end
  EXPECT_EQ(screen.scrolls, 2);
  EXPECT_EQ(screen.Row(1), "0123456789");
  EXPECT_EQ(screen.RowTrimmed(2), "");
  EXPECT_EQ(screen.CursorY(), 3);
  console.EndLine();  // no wrap pending: one scroll
  EXPECT_EQ(screen.scrolls, 3);
}

TEST_F(ConsoleOutput, ColoursOfSixteenOrMoreKeepTheForegroundButStillSetTheAttribute) {
  console.SetTextColor(12);
  console.SetTextColor(16);
  EXPECT_EQ(screen.consoleAttribute, 12);
  console.WriteText("a");
  EXPECT_EQ(screen.CellAt(0, 0).attribute, 12);
}

TEST_F(ConsoleOutput, NothingBeforeTheFirstColourChangeTouchesTheConsoleAttribute) {
  console.WriteLine("text");
  EXPECT_EQ(screen.consoleAttribute, 0xFFFF);
  EXPECT_EQ(screen.CellAt(0, 0).attribute, 7);
}

TEST_F(ConsoleOutput, EmptyTextDoesNothing) {
  screen.MoveCursor(0, 3);
  console.WriteText("0123456789");
  console.WriteText("");
  EXPECT_EQ(screen.scrolls, 0);
  console.WriteText("x");  // the wrap is still pending: the row scrolls first
  EXPECT_EQ(screen.scrolls, 1);
  EXPECT_EQ(screen.RowTrimmed(3), "x");
}

TEST(ConsoleOutputSingleCell, AOneByOneScreenNeverWritesOutsideIt) {
  MemoryScreen screen{1, 1};
  KeyList keys;
  console::Console console{screen, keys, memory, memory};
  console.WriteLine("abc");
  console.WriteText("de");
  EXPECT_FALSE(screen.rowOverflow);
  EXPECT_EQ(screen.Row(0), "e");
}

// ---- The plain transcript: the same console rules, drawn as lines of text ----------------

// Records what the transcript sends: standard output with "\n" for each line
// end, standard error's lines, and what had gone out when typing started.
struct RecordingSink final : console::TranscriptSink {
  void Write(std::u16string_view text) override { out += text; }
  void EndLine() override { out += u'\n'; }
  void ErrorLine(std::u16string_view text) override { errorLines.emplace_back(text); }
  void BeforeTyping(std::u16string_view prompt) override {
    prompts.emplace_back(prompt);
    outWhenTyping = out;
  }
  std::u16string out, outWhenTyping;
  std::vector<std::u16string> errorLines, prompts;
};

struct Transcript : ::testing::Test {
  RecordingSink sink;
  KeyList keys;
};

TEST_F(Transcript, EveryLineInOrderPlainWithLightRedLinesAlsoOnStandardError) {
  console::TranscriptScreen screen(sink, false);
  console::Console console(screen, keys, memory, memory);
  console.EndLine();
  console.WriteLine("Banner  ");
  console.SetTextColor(8);
  console.WriteLine("grey");
  console.SetTextColor(7);
  console.WriteText("Message  ");
  keys.Type(u"cq").Enter();
  EXPECT_EQ(console.ReadLine(), u"cq");
  console.SetTextColor(12);
  console.WriteText("not ");
  console.SetTextColor(7);
  console.WriteLine("written \x1b[2J\x07\x7f");
  const std::u16string lines = u"\nBanner  \ngrey\nMessage  cq\nnot written ?[2J??\n";
  EXPECT_EQ(sink.out, lines);
  EXPECT_EQ(sink.errorLines, std::vector<std::u16string>{u"not written ?[2J??"});
  // No screen width: a line of any length stays one line.
  console.WriteLine(std::string(20000, 'x'));
  EXPECT_TRUE(sink.out == lines + std::u16string(20000, u'x') + u"\n");
}

TEST_F(Transcript, APromptGoesOutBeforeTheWaitAndTheTypedLineAsItEnded) {
  console::TranscriptScreen screen(sink, false);
  console::Console console(screen, keys, memory, memory);
  console.WriteText("Destination  ");
  keys.Type(u"ab").Backspace().Backspace().Backspace().Type(u"c,d").Enter();
  EXPECT_EQ(console::FirstField(console.ReadLine().value()), u"c");
  EXPECT_EQ(sink.outWhenTyping, u"Destination  ");
  EXPECT_EQ(sink.prompts, std::vector<std::u16string>{u"Destination  "});
  console.WriteLine("next");
  EXPECT_EQ(sink.out, u"Destination  c,d\nnext\n");
}

TEST_F(Transcript, TypingTheTerminalShowsItselfIsNotEchoedAgain) {
  console::TranscriptScreen screen(sink, true);
  console::Console console(screen, keys, memory, memory);
  console.WriteText("Message  ");
  keys.Type(u"cq").Enter();
  EXPECT_EQ(console.ReadLine(), u"cq");
  console.WriteLine("next");
  EXPECT_EQ(sink.out, u"Message  next\n");
}

}  // namespace
}  // namespace sympack
