// The commands that carry user text to the interpreter: byte for byte for a
// text that needs no care, and for any text, read back the way cmd.exe and
// then the simulator or TYPE read it, in an environment where every name
// that could form is defined with a value holding &: exactly the text as one
// argument, the fixed parameters and the report redirection, nothing else.
#include <gtest/gtest.h>

#include <random>

#include "command_parser.h"
#include "simulator/interpreter.h"
#include "simulator/simulator_command.h"
#include "text/utf.h"

namespace sympack::simulator {
namespace {

const std::string kParameters(kSimulatorParameters);
const std::vector<std::string> kParameterWords = {"120", "1500", "0.0", "0", "0", "0", "0", "F"};

std::string Command(std::string_view message) { return SimulatorCommand(message, text::SingleByteCharacterLength); }

TEST(SimulatorCommand, PlainMessageGivesTheFixedCommandByteForByte) {
  const std::string interpreter = "C:\\WINDOWS\\system32\\cmd.exe";
  const std::string line = interpreter + " /C " + Command("CQ K1ABC FN42");
  EXPECT_EQ(line,
            "C:\\WINDOWS\\system32\\cmd.exe /C FST4SIM \"CQ K1ABC FN42\" 120  1500 0.0   0 0 0 0 F"
            " > FST4TEMP.TXT");
  EXPECT_EQ(line.size(), 95u);
  EXPECT_EQ(kSimulatorParameters.size(), 26u);
  EXPECT_EQ(ShowFileCommand("FST4.INC", text::SingleByteCharacterLength).value_or(""), "TYPE FST4.INC");
  EXPECT_EQ(ShowFileCommand("FST4TEMP.TXT", text::Utf8CharacterLength).value_or(""), "TYPE FST4TEMP.TXT");
}

TEST(SimulatorCommand, BlanksAndSyntaxInsideQuotesAreLeftAlone) {
  EXPECT_EQ(Command("CQ TEST  "), "FST4SIM \"CQ TEST  \"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(Command("A&B|C>D"), "FST4SIM \"A&B|C>D\"" + kParameters + " > FST4TEMP.TXT");
  // A trailing backslash would escape the closing quote for the C runtime.
  EXPECT_EQ(Command("AB\\"), "FST4SIM \"AB\\\\\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(ShowFileCommand("my beacon.inc", text::SingleByteCharacterLength).value_or(""),
            "TYPE \"my beacon.inc\"");
}

TEST(SimulatorCommand, MessagesWithQuotesOrPercentSignsGetACaretBeforeEveryCharacter) {
  EXPECT_EQ(Command("A\"&"), "FST4SIM ^\"^A^\\^\"^&^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(Command("%OS%"), "FST4SIM ^\"^%^O^S^%^\"" + kParameters + " > FST4TEMP.TXT");
  // Never between the bytes of one character.
  EXPECT_EQ(SimulatorCommand("\xC3\xA9%", text::Utf8CharacterLength),
            "FST4SIM ^\"^\xC3\xA9^%^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_FALSE(ShowFileCommand("a\"b.inc", text::SingleByteCharacterLength));
  EXPECT_FALSE(ShowFileCommand("", text::SingleByteCharacterLength));
}

// Every name that can form after a % is defined, with a value that would
// chain a command; only a name beginning with a caret is not.
std::optional<std::string> EveryNameDefined(std::string_view name) {
  if (!name.empty() && name.front() == '^') return std::nullopt;
  return std::string("&DEL FST4SIM.EXE&");
}

// The interpreter expands %NAME% even between quotes: every percent sign must
// stand outside them, behind an escape.
void ExpectNoPercentExpandable(const std::string& command) {
  bool insideQuotes = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (command[i] == '^' && !insideQuotes) {
      ++i;
    } else if (command[i] == '"') {
      insideQuotes = !insideQuotes;
    } else {
      ASSERT_NE(command[i], '%') << command;
    }
  }
}

// The message, and the installed simulator's path when there is one, each
// read back as exactly one token.
void ExpectMessageReadBackExactly(const std::string& message, CharacterLength length,
                                  const std::string& programPath = {}) {
  const std::string command = SimulatorCommand(message, length, programPath);
  ExpectNoPercentExpandable(command);
  const auto reading = cmd::ReadCommand(command, EveryNameDefined);
  ASSERT_FALSE(reading.parsed.refused) << message;
  EXPECT_EQ(reading.parsed.output.value_or(""), "FST4TEMP.TXT") << message;
  EXPECT_FALSE(reading.parsed.append);
  EXPECT_EQ(reading.name, programPath.empty() ? "FST4SIM" : programPath) << message;
  std::vector<std::string> expected{message};
  expected.insert(expected.end(), kParameterWords.begin(), kParameterWords.end());
  EXPECT_EQ(cmd::SplitArguments(reading.arguments), expected) << message;
}

void ExpectNameReadBackExactly(const std::string& name, CharacterLength length) {
  const auto command = ShowFileCommand(name, length);
  if (name.empty() || name.find('"') != std::string::npos) {
    EXPECT_FALSE(command) << name;
    return;
  }
  ASSERT_TRUE(command) << name;
  ExpectNoPercentExpandable(*command);
  const auto reading = cmd::ReadCommand(*command, EveryNameDefined);
  ASSERT_FALSE(reading.parsed.refused) << name;
  EXPECT_FALSE(reading.parsed.output) << name;
  EXPECT_EQ(reading.name, "TYPE");
  EXPECT_EQ(cmd::SplitTypeNames(reading.arguments), std::vector<std::string>{name}) << name;
}

TEST(SimulatorCommand, InjectionAttemptsReachTheSimulatorAndTypeAsPlainBytes) {
  for (const std::string text :
       {"CQ\" & echo PWNED > X.TXT & \"", "\" | MORE", "A\" < NUL", "\"^\"", "X\" ) ( \"",
        "A\">EVIL.TXT", "CQ 100%", "%PATH%", "\"%OS%\" & %TEMP%", "\"\"\"", "\"", "A\"\"B", "^&^\"",
        "CQ \"K1ABC\" FN42", "%OS:~0,3%", "^%OS:~0,3^%", "%PATH:A=B%", "^%PATH:A=B^%", "%%PATH%%",
        "AB\\", "A\"B", "A\\\"B\\\\", "x>FST4SIM.EXE", "beacon.inc >FST4SIM.EXE", "x.inc & del FST4SIM.EXE",
        "R&D.INC", "my beacon.inc", "a^b.inc", "a;b.inc", "a=b.inc", "%OS%.inc", "a,b.inc", "%:=%~%"}) {
    ExpectMessageReadBackExactly(text, text::SingleByteCharacterLength);
    ExpectNameReadBackExactly(text, text::SingleByteCharacterLength);
    if (text.find('"') == std::string::npos) {  // no file name holds one
      ExpectMessageReadBackExactly("CQ K1ABC FN42", text::SingleByteCharacterLength,
                                   "/opt/" + text + "/libexec/sympack/FST4SIM.EXE");
    }
  }
}

TEST(SimulatorCommand, AnyTextOfSyntaxCharactersReadsBackExactly) {
  const std::string alphabet = "\"&|<>^() AZ09%!\t\\,;=:~-*\xC3\xA9\x80\xFF";
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
    const CharacterLength code = round % 2 ? text::Utf8CharacterLength : text::SingleByteCharacterLength;
    ExpectMessageReadBackExactly(text, code);
    ExpectNameReadBackExactly(text, code);
  }
}

}  // namespace
}  // namespace sympack::simulator
