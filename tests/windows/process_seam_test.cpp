// Starting processes through the host System on Windows: exit codes, programs that cannot
// start, the command tail a started program sees, and the real interpreter
// running the simulator command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_parser.h"
#include "platform/host_system.h"
#include "scratch_folder.h"
#include "command/interpreter.h"
#include "command/simulator_command.h"
#include "command/upper_case.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

using wintest::Host;
using wintest::ProgramFolder;
using wintest::ReadFileBytes;

// A path in double quotes, as a command line's first token.
std::u16string Quoted(const std::wstring& path) {
  std::u16string quoted(1, u'"');
  quoted.append(path.begin(), path.end());
  quoted += u'"';
  return quoted;
}

constexpr UINT kShiftJis = 932;

std::u16string Program(const wchar_t* name) { return Quoted(ProgramFolder() + name); }

std::u16string Recorded(const wchar_t* file) {
  const std::string bytes = ReadFileBytes(file);
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

// ---- Exit codes and failures to start ----------------------------------------------------

TEST(ProcessSeam, TheChildsExitCodeComesBack) {
  EXPECT_EQ(Host().RunProcess(Program(L"exit_with.exe") + u" 0"), std::optional<std::uint32_t>(0));
  EXPECT_EQ(Host().RunProcess(Program(L"exit_with.exe") + u" 7"), std::optional<std::uint32_t>(7));
  EXPECT_EQ(Host().RunProcess(Program(L"exit_with.exe") + u" 3221225477"),
            std::optional<std::uint32_t>(3221225477u));  // an access violation's code
}

TEST(ProcessSeam, ABareProgramNameIsFoundBesideTheStartingProgram) {
  // CreateProcessW looks in the folder of the program that starts it first.
  EXPECT_EQ(Host().RunProcess(u"exit_with 4"), std::optional<std::uint32_t>(4));
}

TEST(ProcessSeam, WhatCannotStartGivesNoExitCode) {
  EXPECT_EQ(Host().RunProcess(u"no_such_program_anywhere.exe"), std::nullopt);
  EXPECT_EQ(Host().RunProcess(u""), std::nullopt);
  // An unset comspec leaves the line starting with the switch.
  EXPECT_EQ(Host().RunProcess(u" /C FST4SIM \"CQ\""), std::nullopt);
  // A folder is no program.
  EXPECT_EQ(Host().RunProcess(Quoted(ProgramFolder())), std::nullopt);
}

TEST(ProcessSeam, TheLongestCommandLineStillStarts) {
  std::u16string line = u"exit_with 6 ";
  line.resize(kMaxCommandLineUnits, u'x');
  EXPECT_EQ(Host().RunProcess(line), std::optional<std::uint32_t>(6));
}

TEST(ProcessSeam, TheInterpreterRunsCommandsAndReportsTheirExitCode) {
  const auto comspec = Host().EnvironmentVariable(u"comspec");
  ASSERT_TRUE(comspec.has_value());
  EXPECT_EQ(Host().RunProcess(*comspec + u" /C exit 3"), std::optional<std::uint32_t>(3));
}

// ---- The command tail a started program sees ----------------------------------------------

struct TailSeam : ::testing::Test {
  wintest::ScratchFolder folder;

  std::u16string TailOf(const std::u16string& line) {
    EXPECT_EQ(Host().RunProcess(line), std::optional<std::uint32_t>(0));
    return Recorded(L"COMMAND_TAIL.BIN");
  }
};

TEST_F(TailSeam, BlanksAfterTheProgramAreSkippedAndTheRestKeptAsTyped) {
  EXPECT_EQ(TailOf(Program(L"record_command_line.exe") + u"   cq test  "), u"cq test  ");
  EXPECT_EQ(TailOf(Program(L"record_command_line.exe") + u"\"cq\""), u"\"cq\"");
  EXPECT_EQ(TailOf(Program(L"record_command_line.exe") + u" \"cq k1abc\" fn42"), u"\"cq k1abc\" fn42");
}

TEST_F(TailSeam, AnUnquotedProgramEndsAtAControlCharacterThatStartsTheTail) {
  EXPECT_EQ(TailOf(u"record_command_line.exe\tcq\t"), u"\tcq\t");
  EXPECT_EQ(TailOf(u"record_command_line.exe"), u"");
  EXPECT_EQ(TailOf(u"record_command_line.exe    "), u"");
}

TEST_F(TailSeam, TheTailIsTheSplitOfTheWholeCommandLine) {
  const std::u16string line = Program(L"record_command_line.exe") + u"  \u00E9t\u00E9 \"x\"";
  const std::u16string tail = TailOf(line);
  EXPECT_EQ(Recorded(L"COMMAND_LINE.BIN"), line);
  EXPECT_EQ(tail, u"\u00E9t\u00E9 \"x\"");
}

// ---- The simulator command through the real interpreter -------------------------------------

// Whatever the message, the interpreter must start the program with the
// message in quotes and the fixed parameters, send its output into the report
// file, and run nothing else.
struct InterpreterSeam : ::testing::Test {
  wintest::ScratchFolder folder;

  void SetUp() override {
    const std::wstring helper = ProgramFolder() + L"record_command_line.exe";
    ASSERT_TRUE(CopyFileW(helper.c_str(), L"FST4SIM.EXE", FALSE));
  }

  std::u16string SimulatorTail(const std::string& message) {
    DeleteFileW(L"COMMAND_LINE.BIN");
    DeleteFileW(L"FST4TEMP.TXT");
    const auto host = platform::MakeHostSystem(0, nullptr);
    EXPECT_EQ(command::RunSimulator(*host, command::InterpreterPath(*host), message), 0u) << message;
    EXPECT_FALSE(wintest::Exists(L"PWNED.TXT")) << message;
    EXPECT_EQ(ReadFileBytes(L"FST4TEMP.TXT"), "recorded\r\n") << message;
    std::u16string tail(SplitLast(Recorded(L"COMMAND_LINE.BIN")));
    while (!tail.empty() && tail.back() == u' ') tail.pop_back();
    return tail;
  }

  static std::u16string_view SplitLast(const std::u16string& line);
};

std::u16string_view InterpreterSeam::SplitLast(const std::u16string& line) {
  // The interpreter may pass the program as typed or as a full path; the
  // message starts at the first quote.
  const auto quote = line.find(u'"');
  return quote == std::u16string::npos ? std::u16string_view() : std::u16string_view(line).substr(quote);
}

std::u16string Expected(const std::string& message) {
  std::string text = "\"" + message + "\"" + std::string(command::kSimulatorParameters);
  return Host().AnsiToWide(text);
}

// The arguments the simulator's C runtime takes from its tail: the message
// itself, then the fixed parameters.
std::vector<std::string> Arguments(const std::u16string& tail) {
  return cmd::SplitArguments(Host().WideToAnsi(tail));
}

std::vector<std::string> ExpectedArguments(const std::string& message) {
  return {message, "120", "1500", "0.0", "0", "0", "0", "0", "F"};
}

TEST_F(InterpreterSeam, APlainMessageArrivesByteForByte) {
  EXPECT_EQ(SimulatorTail("CQ K1ABC FN42"), Expected("CQ K1ABC FN42"));
  EXPECT_EQ(SimulatorTail("CQ TEST  "), Expected("CQ TEST  "));
}

TEST_F(InterpreterSeam, InterpreterSyntaxInTheMessageRunsNothing) {
  for (const std::string message :
       {"A&B|C>D", "CQ\" & echo PWNED > PWNED.TXT & \"", "\" | MORE", "A\" < NUL", "X\" ) ( \"",
        "A\">PWNED.TXT", "\"\"\"", "\"", "A\"\"B", "^&^\"", "CQ \"K1ABC\" FN42", "A^B", "(CQ)",
        "!COMSPEC!", "AB\\", "A\"B", "x>PWNED.TXT"}) {
    EXPECT_EQ(Arguments(SimulatorTail(message)), ExpectedArguments(message)) << message;
  }
}

// Carets of the message are escaped like every other syntax character, and
// the interpreter makes one of each pair, also right before a quote.
TEST_F(InterpreterSeam, CaretsBeforeAQuoteArriveSingle) {
  for (const std::string message : {"\"^\"", "A\"^^\"B", "^"}) {
    EXPECT_EQ(Arguments(SimulatorTail(message)), ExpectedArguments(message)) << message;
  }
}

// cmd.exe expands %NAME% (and its :~ and :old=new forms) even between
// quotes, before it takes escapes away; the message's percent signs stand
// outside quotes, each followed by a caret, so every name that could form
// begins with one. Wine 8's cmd takes escapes away first and expands anyway,
// so there the test can only be skipped.
TEST_F(InterpreterSeam, PercentSignsReachTheSimulatorUnexpanded) {
  if (wintest::RunningUnderWine()) GTEST_SKIP() << "Wine's cmd expands %NAME% after removing escapes";
  for (const std::string message : {"%COMSPEC%", "\"%COMSPEC%\"", "CQ %OS% 100%", "%OS:~0,3%",
                                    "^%OS:~0,3^%", "%PATH:A=B%", "%%PATH%%"}) {
    EXPECT_EQ(Arguments(SimulatorTail(message)), ExpectedArguments(message)) << message;
  }
}

// In a double-byte code page (ctest runs the seam tests once more under code
// page 932, as DoubleByteSeam): a trail byte 0x5C is no backslash to double
// before the closing quote, and a trail byte 0x61-0x7A no letter to
// upper-case. The simulator's tail is split by character, as its C runtime
// reads it in that code page.
TEST_F(InterpreterSeam, DoubleByteCharactersArriveWhole) {
  if (GetACP() != kShiftJis) GTEST_SKIP() << "needs the ANSI code page 932 (ctest: DoubleByteSeam)";
  EXPECT_EQ(Host().AnsiCharacterLength("\x83\x5C"), 2u);
  const auto characterLength = [](std::string_view text) { return Host().AnsiCharacterLength(text); };
  EXPECT_EQ(command::UpperCase("cq \x83\x63", characterLength, Host().AnsiIsSingleByte()), "CQ \x83\x63");
  for (const std::string message : {"\x83\x5C", "CQ \x95\x5C", "\x83\x5C\"", "A\"\x95\x5C\x95\x5C", "\x83\x5C!"}) {
    std::vector<std::string> words;
    for (const std::string& word : cmd::SplitArguments(text::Utf16ToUtf8(SimulatorTail(message)))) {
      words.push_back(Host().WideToAnsi(text::Utf8ToUtf16(word)));
    }
    EXPECT_EQ(words, ExpectedArguments(message)) << message;
  }
}

}  // namespace
}  // namespace sympack::platform
