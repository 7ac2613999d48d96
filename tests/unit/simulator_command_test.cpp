// The command that runs the simulator: byte for byte for plain messages, and
// for any message, read back the way the interpreter and the simulator read
// it, exactly the message, the fixed parameters and the report redirection.
#include <gtest/gtest.h>

#include <random>

#include "command_parser.h"
#include "simulator/simulator_command.h"

namespace sympack::simulator {
namespace {

const std::string kParameters(kSimulatorParameters);

TEST(SimulatorCommand, PlainMessageGivesTheFixedCommandByteForByte) {
  const std::string interpreter = "C:\\WINDOWS\\system32\\cmd.exe";
  const std::string line = interpreter + " /C " + SimulatorCommand("CQ K1ABC FN42");
  EXPECT_EQ(line,
            "C:\\WINDOWS\\system32\\cmd.exe /C FST4SIM \"CQ K1ABC FN42\" 120  1500 0.0   0 0 0 0 F"
            " > FST4TEMP.TXT");
  EXPECT_EQ(line.size(), 95u);
  EXPECT_EQ(kSimulatorParameters.size(), 26u);
}

TEST(SimulatorCommand, BlanksAndSyntaxInsideQuotesAreLeftAlone) {
  EXPECT_EQ(SimulatorCommand("CQ TEST  "), "FST4SIM \"CQ TEST  \"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(SimulatorCommand("A&B|C>D"), "FST4SIM \"A&B|C>D\"" + kParameters + " > FST4TEMP.TXT");
}

TEST(SimulatorCommand, MessagesWithQuotesOrPercentSignsAreWrittenOutsideQuotes) {
  EXPECT_EQ(SimulatorCommand("A\" & DEL *"),
            "FST4SIM ^\"A^\" ^& DEL *^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(SimulatorCommand("\"CQ\""), "FST4SIM ^\"^\"CQ^\"^\"" + kParameters + " > FST4TEMP.TXT");
  EXPECT_EQ(SimulatorCommand("%OS% (X)!"),
            "FST4SIM ^\"^%OS^% ^(X^)^!^\"" + kParameters + " > FST4TEMP.TXT");
}

// The interpreter expands %NAME% even between quotes: every percent sign must
// stand outside them, behind an escape, so that no name can form.
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

// What the interpreter makes of the command: the program's argument text (its
// escapes removed) and the redirection.
void ExpectReadBackAsReference(const std::string& message) {
  const std::string command = SimulatorCommand(message);
  ExpectNoPercentExpandable(command);
  const auto parsed = cmd::ParseCommand(command);
  ASSERT_FALSE(parsed.refused) << message;
  ASSERT_TRUE(parsed.output) << message;
  EXPECT_EQ(*parsed.output, "FST4TEMP.TXT") << message;
  EXPECT_FALSE(parsed.append);
  // The unprotected command line would carry exactly these bytes.
  std::string reference = "FST4SIM \"" + message + "\"" + kParameters;
  while (!reference.empty() && (reference.back() == ' ' || reference.back() == '\t')) reference.pop_back();
  EXPECT_EQ(parsed.text, reference) << message;
}

TEST(SimulatorCommand, InjectionAttemptsReachTheSimulatorAsPlainBytes) {
  for (const std::string message :
       {"CQ\" & echo PWNED > X.TXT & \"", "\" | MORE", "A\" < NUL", "\"^\"", "X\" ) ( \"",
        "A\">EVIL.TXT", "CQ 100%", "%PATH%", "\"%OS%\" & %TEMP%", "\"\"\"", "\"", "A\"\"B", "^&^\"", "CQ \"K1ABC\" FN42"}) {
    ExpectReadBackAsReference(message);
  }
}

TEST(SimulatorCommand, AnyMessageOfSyntaxCharactersReadsBackExactly) {
  const std::string alphabet = "\"&|<>^() AZ09%!\t\\";
  std::mt19937 random(20261207);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 5000; ++round) {
    std::string message;
    for (int n = length(random); n > 0; --n) message += alphabet[pick(random)];
    ExpectReadBackAsReference(message);
  }
}

}  // namespace
}  // namespace sympack::simulator
