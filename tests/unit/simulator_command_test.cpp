// The commands that carry user text to the interpreter: byte for byte for a
// text that needs no care, and for any text, read back the way Windows runs
// them (interpreter_model.h: the interpreter's switches with the registry's
// DelayedExpansion and AutoRun set, its phases including the removal of
// carriage returns, in an environment where every name that could form is
// defined with a value holding &; then the simulator's C runtime or TYPE), in
// Windows-1252, UTF-8 and the double-byte code page 932: exactly the text as
// one argument, the fixed parameters and the report redirection, nothing
// else; no command at all for a text with a control character.
#include <gtest/gtest.h>

#include <random>

#include "interpreter_model.h"
#include "memory_system.h"
#include "command/interpreter.h"
#include "command/simulator_command.h"
#include "text/utf.h"

namespace sympack::command {
namespace {

const std::string kParameters(kSimulatorParameters);
const std::vector<std::string> kParameterWords = {"120", "1500", "0.0", "0", "0", "0", "0", "F"};

std::string Command(std::string_view message) { return SimulatorCommand(message, text::SingleByteCharacterLength); }

TEST(SimulatorCommand, PlainMessageGivesTheFixedCommandByteForByte) {
  const auto line =
      InterpreterCommandLine(u"C:\\WINDOWS\\system32\\cmd.exe", text::Utf8ToUtf16(Command("CQ K1ABC FN42")));
  EXPECT_EQ(line.value_or(u""),
            u"C:\\WINDOWS\\system32\\cmd.exe /D /V:OFF /C FST4SIM.EXE \"CQ K1ABC FN42\" 120  1500 0.0   0 0 0 0 F"
            " > FST4TEMP.TXT");
  EXPECT_EQ(line.value_or(u"").size(), 109u);
  EXPECT_EQ(kSimulatorParameters.size(), 26u);
  // The FST4W form differs in the last argument alone.
  EXPECT_EQ(SimulatorCommand("<K1ABC> FN42AB", text::SingleByteCharacterLength, {}, SymbolForm::kFst4w),
            "FST4SIM.EXE \"<K1ABC> FN42AB\" 120  1500 0.0   0 0 0 0 T > FST4TEMP.TXT");
  EXPECT_EQ(SimulatorCommand("AB", text::SingleByteCharacterLength, "/opt/x/FST4SIM.EXE", SymbolForm::kFst4w),
            "\"/opt/x/FST4SIM.EXE\" \"AB\" 120  1500 0.0   0 0 0 0 T > FST4TEMP.TXT");
  EXPECT_EQ(ShowFileCommand("FST4.INC", text::SingleByteCharacterLength).value_or(""), "TYPE FST4.INC");
  EXPECT_EQ(ShowFileCommand("FST4TEMP.TXT", text::Utf8CharacterLength).value_or(""), "TYPE FST4TEMP.TXT");
}

TEST(SimulatorCommand, BlanksAndSyntaxInsideQuotesAreLeftAlone) {
  EXPECT_EQ(Command("CQ TEST  "), "FST4SIM.EXE \"CQ TEST  \"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(Command("A&B|C>D"), "FST4SIM.EXE \"A&B|C>D\"" + kParameters + " > FST4TEMP.TXT");
  // A trailing backslash would escape the closing quote for the C runtime.
  EXPECT_EQ(Command("AB\\"), "FST4SIM.EXE \"AB\\\\\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(ShowFileCommand("my beacon.inc", text::SingleByteCharacterLength).value_or(""),
            "TYPE \"my beacon.inc\"");
}

TEST(SimulatorCommand, MessagesWithQuotesOrPercentSignsGetACaretBeforeEveryCharacter) {
  EXPECT_EQ(Command("A\"&"), "FST4SIM.EXE ^\"^A^\\^\"^&^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(Command("%OS%"), "FST4SIM.EXE ^\"^%^O^S^%^\"" + kParameters + " > FST4TEMP.TXT");
  // Never between the bytes of one character.
  EXPECT_EQ(SimulatorCommand("\xC3\xA9%", text::Utf8CharacterLength),
            "FST4SIM.EXE ^\"^\xC3\xA9^%^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_FALSE(ShowFileCommand("a\"b.inc", text::SingleByteCharacterLength));
  EXPECT_FALSE(ShowFileCommand("", text::SingleByteCharacterLength));
}

// The interpreter expands %NAME% even between quotes: every percent sign must
// stand outside them, behind an escape. Read by character, as the
// interpreter reads.
void ExpectNoPercentExpandable(const std::string& command, const testing::CodePageModel& codePage) {
  const std::string read = codePage.toInterpreter(command);
  bool insideQuotes = false;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (read[i] == '^' && !insideQuotes) {
      ++i;
    } else if (read[i] == '"') {
      insideQuotes = !insideQuotes;
    } else {
      ASSERT_NE(read[i], '%') << command;
    }
  }
}

// What every command must give when Windows runs it: our interpreter, its
// AutoRun skipped, the command read without refusal.
void ExpectRunAsGiven(const testing::WindowsRun& run, const std::string& text) {
  EXPECT_EQ(run.program, testing::kInterpreterWithBlank) << text;
  ASSERT_TRUE(run.switchesRead) << text;
  EXPECT_FALSE(run.autoRunRuns) << text;
  ASSERT_FALSE(run.reading.parsed.refused) << text;
}

// The message, and the installed simulator's path when there is one, each
// read back as exactly one token.
void ExpectMessageReadBackExactly(const std::string& message, const testing::CodePageModel& codePage,
                                  const std::string& programPath = {}) {
  const std::string command = SimulatorCommand(message, codePage.characterLength, programPath);
  if (HoldsControlCharacter(message)) {
    EXPECT_EQ(command, "") << "no command line carries a control character exactly";
    return;
  }
  ExpectNoPercentExpandable(command, codePage);
  const auto run = testing::RunAsWindows(command, codePage);
  ExpectRunAsGiven(run, message);
  EXPECT_EQ(run.reading.parsed.output.value_or(""), "FST4TEMP.TXT") << message;
  EXPECT_FALSE(run.reading.parsed.append);
  EXPECT_EQ(codePage.fromInterpreter(run.reading.name), programPath.empty() ? "FST4SIM.EXE" : programPath) << message;
  std::vector<std::string> expected{message};
  expected.insert(expected.end(), kParameterWords.begin(), kParameterWords.end());
  EXPECT_EQ(run.words, expected) << codePage.name << ": " << message;
}

void ExpectNameReadBackExactly(const std::string& name, const testing::CodePageModel& codePage) {
  const auto command = ShowFileCommand(name, codePage.characterLength);
  if (name.empty() || name.find('"') != std::string::npos || HoldsControlCharacter(name)) {
    EXPECT_FALSE(command) << name;
    return;
  }
  ASSERT_TRUE(command) << name;
  ExpectNoPercentExpandable(*command, codePage);
  const auto run = testing::RunAsWindows(*command, codePage);
  ExpectRunAsGiven(run, name);
  EXPECT_FALSE(run.reading.parsed.output) << name;
  EXPECT_EQ(run.reading.name, "TYPE");
  EXPECT_EQ(run.words, std::vector<std::string>{name}) << codePage.name << ": " << name;
}

TEST(SimulatorCommand, InjectionAttemptsReachTheSimulatorAndTypeAsPlainBytes) {
  for (const std::string text :
       {"CQ\" & echo PWNED > X.TXT & \"", "\" | MORE", "A\" < NUL", "\"^\"", "X\" ) ( \"",
        "A\">EVIL.TXT", "CQ 100%", "%PATH%", "\"%OS%\" & %TEMP%", "\"\"\"", "\"", "A\"\"B", "^&^\"",
        "CQ \"K1ABC\" FN42", "%OS:~0,3%", "^%OS:~0,3^%", "%PATH:A=B%", "^%PATH:A=B^%", "%%PATH%%",
        "AB\\", "A\"B", "A\\\"B\\\\", "x>FST4SIM.EXE", "beacon.inc >FST4SIM.EXE", "x.inc & del FST4SIM.EXE",
        "R&D.INC", "my beacon.inc", "a^b.inc", "a;b.inc", "a=b.inc", "%OS%.inc", "a,b.inc", "%:=%~%",
        "!OS!", "A^B!", "!OS!.inc", "A%\r&B", "%\r>VICTIM.TXT", "A\nB", "A\tB", "\x7F",
        "\x95\x5C", "\x83\x5C\"", "%\x83\x5C", "\x83\x63\x83\x5E&", "\x95\x5C\x95\x5C\\"}) {
    for (const auto& codePage : testing::kCodePages) {
      ExpectMessageReadBackExactly(text, codePage);
      ExpectNameReadBackExactly(text, codePage);
      if (text.find('"') == std::string::npos && !HoldsControlCharacter(text)) {  // no file name holds one
        ExpectMessageReadBackExactly("CQ K1ABC FN42", codePage, "/opt/" + text + "/libexec/sympack/FST4SIM.EXE");
      }
    }
  }
}

// Random texts of syntax characters, control characters, backslashes and the
// characters of each code page whose bytes look like them (code page 932's
// trail bytes 0x5C, 0x5E, 0x7C and 0x61-0x7A; UTF-8 and Windows-1252 bytes).
TEST(SimulatorCommand, AnyTextOfSyntaxCharactersReadsBackExactly) {
  const std::vector<std::string> pieces = {
      "\"", "&", "|", "<", ">", "^", "(", ")", " ", "A", "z", "0", "%", "!", "\t", "\r", "\n", "\\", ",", ";",
      "=", ":", "~", "-", "*", "\xC3\xA9", "\x80", "\xFF", "\x95\x5C", "\x83\x5C", "\x83\x63", "\x81\x7C",
      "\x81\x5E", "\xE0\x7A", "\xA4"};
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
    for (const auto& codePage : testing::kCodePages) {
      if (!codePage.isText(text)) continue;
      ExpectMessageReadBackExactly(text, codePage);
      ExpectNameReadBackExactly(text, codePage);
    }
  }
}

// cmd.exe takes at most 8191 characters after /C; a longer command is never
// started cut, and the interpreter's path is quoted only where it must be.
TEST(SimulatorCommand, TheInterpreterLineHoldsTheWholeCommandOrNothing) {
  const std::u16string longest(kMaxInterpreterCommand, u'x');
  EXPECT_EQ(InterpreterCommandLine(u"cmd.exe", longest), u"cmd.exe /D /V:OFF /C " + longest);
  EXPECT_FALSE(InterpreterCommandLine(u"cmd.exe", longest + u"x"));
  const std::u16string quoted = u"\"C:\\My Tools\\cmd.exe\" /D /V:OFF /C TYPE A";
  EXPECT_EQ(InterpreterCommandLine(u"C:\\My Tools\\cmd.exe", u"TYPE A"), quoted);
  EXPECT_EQ(InterpreterCommandLine(u"\"C:\\My Tools\\cmd.exe\"", u"TYPE A"), quoted) << "quoted by its owner";
  testing::MemorySystem system;
  EXPECT_TRUE(FitsInterpreter(system, std::string(kMaxInterpreterCommand, 'x')));
  EXPECT_FALSE(FitsInterpreter(system, std::string(kMaxInterpreterCommand + 1, 'x')));
}

}  // namespace
}  // namespace sympack::command
