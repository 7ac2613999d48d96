// The host System on Windows: code page, environment and console start-up.
#include <gtest/gtest.h>

#include <vector>

#include "console/transcript.h"
#include "platform/host_system.h"
#include "platform/win32/win32_system.h"
#include "scratch_folder.h"

namespace sympack::platform {
namespace {

using wintest::Host;

constexpr UINT kWestern = 1252;
constexpr int kByteValues = 256;

bool SingleByteAnsiPage() {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

// ---- Code page ---------------------------------------------------------------

TEST(CodePageSeam, EveryByteOfASingleBytePageSurvivesARoundTrip) {
  if (!SingleByteAnsiPage()) GTEST_SKIP() << "ANSI code page " << GetACP() << " is not single-byte";
  std::string all;
  for (int b = 0; b < kByteValues; ++b) all += static_cast<char>(b);
  const std::u16string wide = Host().AnsiToWide(all);
  EXPECT_EQ(wide.size(), all.size());
  EXPECT_EQ(Host().WideToAnsi(wide), all);
  EXPECT_EQ(Host().WideToAnsiExactly(wide), all);
}

TEST(CodePageSeam, WesternPageCharacters) {
  if (GetACP() != kWestern) GTEST_SKIP() << "ANSI code page is " << GetACP();
  EXPECT_EQ(Host().AnsiToWide("\x80"), u"\u20AC");             // the euro sign
  EXPECT_EQ(Host().AnsiToWide("\xE9t\xE9"), u"\u00E9t\u00E9");  // precomposed, one unit each
  EXPECT_EQ(Host().WideToAnsi(u"\u00E9"), "\xE9");
  // A decomposed e + combining acute has no single byte: each unit on its own.
  EXPECT_EQ(Host().WideToAnsi(u"e\u0301").size(), 2u);
}

// Never a look-alike (best fit): Windows-1252's best fit gives "G" for Greek
// Gamma, "L" for L with stroke, "?" for Roman numeral twelve... and the text
// the run acts on is exact or nothing.
TEST(CodePageSeam, CharactersThePageCannotHoldBecomeItsDefaultCharacter) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  const std::string defaultCharacter(reinterpret_cast<const char*>(info.DefaultChar));
  // Cyrillic Zhe and a CJK ideograph are in no Western page.
  if (GetACP() == kWestern) {
    EXPECT_EQ(Host().WideToAnsi(u"A\u0416\u4E2DB"), "A" + defaultCharacter + defaultCharacter + "B");
    EXPECT_EQ(Host().WideToAnsi(u"\u0393.inc"), defaultCharacter + ".inc");
    EXPECT_EQ(Host().WideToAnsi(u"SP5\u0141Z"), "SP5" + defaultCharacter + "Z");
    for (const std::u16string& text : std::vector<std::u16string>{u"\u0393.inc", u"\u0391\u0392\u0393", u"SP5\u0141Z",
                                                                   u"\u216B TEST", u"e\u0301", std::u16string(1, u'\xD800')}) {
      EXPECT_EQ(Host().WideToAnsiExactly(text), std::nullopt);
    }
    EXPECT_EQ(Host().WideToAnsiExactly(u"\u00E9t\u00E9 \u20AC?"), "\xE9t\xE9 \x80?");
  }
  EXPECT_EQ(Host().WideToAnsi(u""), "");
  EXPECT_EQ(Host().AnsiToWide(""), u"");
}

TEST(CodePageSeam, ZeroBytesAreText) {
  const std::string withZero("A\0B", 3);
  EXPECT_EQ(Host().AnsiToWide(withZero), std::u16string(u"A\0B", 3));
  EXPECT_EQ(Host().WideToAnsi(std::u16string(u"A\0B", 3)), withZero);
  EXPECT_EQ(Host().WideToAnsiExactly(std::u16string(u"A\0B", 3)), withZero);
}

// ---- Environment ---------------------------------------------------------------

TEST(EnvironmentSeam, NamesAreLookedUpWithoutRegardToCase) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"SympackProbe", L"C:\\x y\\cmd.exe"));
  EXPECT_EQ(Host().EnvironmentVariable(u"SYMPACKPROBE"), std::optional<std::u16string>(u"C:\\x y\\cmd.exe"));
  EXPECT_EQ(Host().EnvironmentVariable(u"sympackprobe"), std::optional<std::u16string>(u"C:\\x y\\cmd.exe"));
  SetEnvironmentVariableW(L"SympackProbe", nullptr);
  EXPECT_EQ(Host().EnvironmentVariable(u"SympackProbe"), std::nullopt);
}

TEST(EnvironmentSeam, LongValuesComeBackWhole) {
  const std::wstring longValue(5000, L'v');
  ASSERT_TRUE(SetEnvironmentVariableW(L"SympackLong", longValue.c_str()));
  const auto value = Host().EnvironmentVariable(u"SympackLong");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->size(), longValue.size());
  SetEnvironmentVariableW(L"SympackLong", nullptr);
}

TEST(EnvironmentSeam, TheSystemInterpreterIsNamedByComspec) {
  const auto comspec = Host().EnvironmentVariable(u"comspec");
  ASSERT_TRUE(comspec.has_value());
  EXPECT_FALSE(comspec->empty());
  EXPECT_TRUE(Host().DefaultInterpreter().empty());  // Windows always brings its own
}

// ---- Console start-up without a console ------------------------------------------------

// Run by ctest, the tests have pipes for standard streams and no console:
// the texts go out as a transcript, cells fail quietly, and line input comes
// from standard input, whose end is Enter (here the NUL device: ended at once).
bool HasConsole() {
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (screen == INVALID_HANDLE_VALUE) return false;
  CloseHandle(screen);
  return true;
}

TEST(ConsoleSeam, WithoutAConsoleATranscriptAndTheEndOfInputIsEnter) {
  if (HasConsole()) GTEST_SKIP() << "this run has a console";
  SetStdHandle(STD_INPUT_HANDLE, CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
  const auto host = MakeHostSystem(0, nullptr);
  // Before the run is prepared the screen is the console's, which is not
  // there: it has no size, and cells and scrolls go nowhere.
  const wintest::ScratchFolder folder;
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, CreateFileW(L"out.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                              CREATE_ALWAYS, 0, nullptr));
  EXPECT_FALSE(host->Screen().Info().has_value());
  host->Screen().WriteCells(0, 0, u"text", 7);
  host->Screen().ScrollUp(7);
  CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  EXPECT_EQ(wintest::ReadFileBytes(L"out.txt"), "");

  host->PrepareForRun();
  const auto transcript = host->Screen().Info();
  ASSERT_TRUE(transcript.has_value());
  EXPECT_EQ(transcript->width, console::kTranscriptWidth);  // the transcript's endless row
  EXPECT_EQ(transcript->height, 1);
  for (int read = 0; read < 2; ++read) {
    const auto key = host->Next();
    ASSERT_TRUE(key.has_value());
    EXPECT_TRUE(key->pressed);
    EXPECT_EQ(key->character, u'\r');
  }
  host->RestoreAfterRun();
}

INPUT_RECORD KeyRecord(wchar_t character, WORD scanCode, DWORD controlKeys, BOOL down = TRUE) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.uChar.UnicodeChar = character;
  record.Event.KeyEvent.wVirtualScanCode = scanCode;
  record.Event.KeyEvent.dwControlKeyState = controlKeys;
  return record;
}

// The letter rows by scan code, whatever the layout's letters: Alt+F, AltGr+Q
// (a German "@") and Alt+M are shortcuts; F without Alt, Alt+7 and Alt+Enter
// type; a mouse event is no key.
TEST(ConsoleSeam, AltWithALetterRowKeyIsAShortcut) {
  struct Row {
    INPUT_RECORD record;
    bool pressed, alt, shortcut;
  };
  const Row rows[] = {
      {KeyRecord(L'f', 0x21, LEFT_ALT_PRESSED), true, true, true},
      {KeyRecord(L'@', 0x10, RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED), true, true, true},
      {KeyRecord(L'm', 0x32, LEFT_ALT_PRESSED, FALSE), false, true, true},
      {KeyRecord(L'f', 0x21, 0), true, false, false},
      {KeyRecord(L'7', 0x08, LEFT_ALT_PRESSED), true, true, false},
      {KeyRecord(L'\r', 0x1C, LEFT_ALT_PRESSED), true, true, false},
      {INPUT_RECORD{MOUSE_EVENT, {}}, false, false, false},
  };
  for (const Row& row : rows) {
    const KeyEvent key = win32::KeyEventFrom(row.record);
    EXPECT_EQ(key.pressed, row.pressed) << static_cast<int>(key.character);
    EXPECT_EQ(key.altHeld, row.alt) << static_cast<int>(key.character);
    EXPECT_EQ(key.shortcut, row.shortcut) << static_cast<int>(key.character);
  }
}

}  // namespace
}  // namespace sympack::platform
