// Terminal bytes as key events: a table of byte sequences and what they
// decode to, with and without the pause that ends an unfinished key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/terminal_input.h"

namespace sympack::platform {
namespace {

struct Key {
  char16_t character;
  bool shortcut;
  bool alt;
  bool operator==(const Key&) const = default;
};

struct Row {
  const char* what;
  std::string bytes;
  bool paused;
  std::size_t taken;
  std::vector<Key> keys;
};

constexpr Key kNoCharacter{0, false, false};

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      {"plain letters are no shortcuts", "aZ1", false, 3,
       {{u'a', false, false}, {u'Z', false, false}, {u'1', false, false}}},
      {"Enter stays CR", "\r", false, 1, {{13, false, false}}},
      {"DEL and BS are Backspace", "\x7F\x08", false, 2, {{8, false, false}, {8, false, false}}},
      {"two-byte UTF-8", "\xC3\xA9", false, 2, {{u'\u00E9', false, false}}},
      {"four-byte UTF-8 as a surrogate pair", "\xF0\x9F\x98\x80", false, 4,
       {{0xD83D, false, false}, {0xDE00, false, false}}},
      {"UTF-8 missing a byte waits", "x\xE2\x82", false, 1, {{u'x', false, false}}},
      {"UTF-8 missing a byte after the pause", "\xE2\x82", true, 2, {{0xFFFD, false, false}}},
      {"UTF-8 broken by an ASCII byte", "\xE2" "a", false, 2, {{0xFFFD, false, false}, {u'a', false, false}}},
      {"a stray continuation byte", "\x80", false, 1, {{0xFFFD, false, false}}},
      {"lone ESC waits", "\x1B", false, 0, {}},
      {"lone ESC after the pause is Esc", "\x1B", true, 1, {{0x1B, false, false}}},
      {"ESC ESC: Esc, then a key of its own", "\x1B\x1B", false, 1, {{0x1B, false, false}}},
      {"arrow key", "\x1B[A", false, 3, {kNoCharacter}},
      {"Delete with parameters", "\x1B[3~x", false, 5, {kNoCharacter, {u'x', false, false}}},
      {"modified arrow", "\x1B[1;5C", false, 6, {kNoCharacter}},
      {"unfinished sequence waits", "\x1B[1;5", false, 0, {}},
      {"unfinished sequence after the pause", "\x1B[1;5", true, 5, {kNoCharacter}},
      {"SS3 function key", "\x1BOP", false, 3, {kNoCharacter}},
      {"SS3 without its key waits", "\x1BO", false, 0, {}},
      {"SS3 without its key after the pause", "\x1BO", true, 2, {kNoCharacter}},
      {"Alt with a letter", "\x1B" "b", false, 2, {{u'b', true, true}}},
      {"Alt with a capital is a shortcut, with a digit it types", "\x1B" "Q\x1B" "7", false, 4,
       {{u'Q', true, true}, {u'7', false, true}}},
      {"Alt with a non-ASCII character", "\x1B\xC3\xA9", false, 3, {{u'\u00E9', false, true}}},
      {"Alt on the first unit of a pair only", "\x1B\xF0\x9F\x98\x80", false, 5,
       {{0xD83D, false, true}, {0xDE00, false, false}}},
      {"an endless sequence is cut, the rest are keys", "\x1B[" + std::string(kMaxKeySequenceBytes, '1'),
       false, kMaxKeySequenceBytes + 2, {kNoCharacter, {u'1', false, false}, {u'1', false, false}}},
  };
  return rows;
}

TEST(TerminalInput, DecodesTheTable) {
  for (const Row& row : Table()) {
    std::vector<KeyEvent> events;
    EXPECT_EQ(DecodeKeys(row.bytes, row.paused, events), row.taken) << row.what;
    std::vector<Key> keys;
    for (const KeyEvent& e : events) {
      EXPECT_TRUE(e.pressed) << row.what;
      keys.push_back({e.character, e.shortcut, e.altHeld});
    }
    EXPECT_EQ(keys, row.keys) << row.what;
  }
}

TEST(TerminalInput, FindsTheCursorReportAmongKeys) {
  const auto report = FindCursorReport("ab\x1B[A\x1B[12;345Rc");
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->start, 5u);
  EXPECT_EQ(report->length, 9u);
  EXPECT_EQ(report->row, 11);
  EXPECT_EQ(report->column, 344);
  // More digits than any screen has: not a report (and no overflow).
  EXPECT_FALSE(FindCursorReport("\x1B[99999999999999999999;1R").has_value());
  EXPECT_FALSE(FindCursorReport("\x1B[12;R").has_value());
  EXPECT_FALSE(FindCursorReport("\x1B[12;3").has_value());
}

}  // namespace
}  // namespace sympack::platform
