// Where the program name ends and the message begins on a command line.
#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "memory_system.h"
#include "run/exit_codes.h"
#include "run/information.h"
#include "run/messages.h"
#include "command/command_tail.h"

namespace sympack::platform {
namespace {

struct TailCase {
  std::u16string line;
  std::u16string token;
  std::u16string tail;
};

TEST(SplitCommandLine, TokenAndTail) {
  const TailCase cases[] = {
        // Inner and trailing blanks stay; only leading ones go.
        TailCase{u"SYMPACK   cq test  ", u"SYMPACK", u"cq test  "},
        TailCase{u"\"C:\\Ham Tools\\SYMPACK.EXE\"   cq dx", u"\"C:\\Ham Tools\\SYMPACK.EXE\"", u"cq dx"},
        TailCase{u"\"C:\\x.exe\"cq", u"\"C:\\x.exe\"", u"cq"},
        TailCase{u"SYMPACK    ", u"SYMPACK", u""},
        TailCase{u"SYMPACK", u"SYMPACK", u""},
        TailCase{u"", u"", u""},
        // No token when the line starts with a blank.
        TailCase{u"   cq k1abc", u"", u"cq k1abc"},
        // A tab ends the token and starts the tail.
        TailCase{u"SYMPACK\tcq", u"SYMPACK", u"\tcq"},
        // Quotes typed around the message stay.
        TailCase{u"SYMPACK \"cq k1abc\"", u"SYMPACK", u"\"cq k1abc\""},
        // An opening quote that is never closed takes the whole line, and
        // nothing is read past its end.
        TailCase{u"\"C:\\never closed cq", u"\"C:\\never closed cq", u""}};
  for (const auto& c : cases) {
    const auto parts = SplitCommandLine(c.line);
    const std::string label(c.line.begin(), c.line.end());
    EXPECT_EQ(parts.programToken, c.token) << label;
    EXPECT_EQ(parts.tail, c.tail) << label;
  }
}

}  // namespace
}  // namespace sympack::platform

namespace sympack::command {
namespace {

TEST(MessageFromTail, OnePairOfQuotesAroundTheWholeTailIsTakenAway) {
  EXPECT_EQ(MessageFromTail(u"\"cq k1abc fn42\""), u"cq k1abc fn42");
  EXPECT_EQ(MessageFromTail(u"\"\""), u"");
  // Blanks and tabs around the tail are not the message: cmd.exe leaves the
  // blank before a redirection ("x" > log.txt) in it.
  EXPECT_EQ(MessageFromTail(u" \t\"cq k1abc fn42\" \t "), u"cq k1abc fn42");
  EXPECT_EQ(MessageFromTail(u"cq k1abc fn42 "), u"cq k1abc fn42");
  EXPECT_EQ(MessageFromTail(u"\"  cq  \" "), u"  cq  ");
  EXPECT_EQ(MessageFromTail(u" \t "), u"");
  // Anything else stays as typed.
  for (const char16_t* tail : {u"\"", u"\"cq\" \"k1abc\"", u"cq \"k1abc\"", u"\"cq\" x", u"\"a\"b\"", u"cq"}) {
    EXPECT_EQ(MessageFromTail(tail), tail);
  }
}

// --fst4w or /fst4w, in any letter case and as a word of its own at the
// start, asks for the FST4W form; the message is what follows. Anything else
// is the message, whole.
TEST(FormFromTail, Fst4wWordBeforeTheMessage) {
  const struct {
    const char16_t* tail;
    SymbolForm form;
    const char16_t* message;
  } rows[] = {
      {u"--fst4w <k1abc> fn42ab", SymbolForm::kFst4w, u"<k1abc> fn42ab"},
      {u" \t/FST4W\t\"k1abc fn42 37\" ", SymbolForm::kFst4w, u"k1abc fn42 37"},
      {u"--Fst4W", SymbolForm::kFst4w, u""},
      {u"/fst4w   ", SymbolForm::kFst4w, u""},
      {u"k1abc fn42 37", SymbolForm::kFst4, u"k1abc fn42 37"},
      {u"--fst4wx k1abc", SymbolForm::kFst4, u"--fst4wx k1abc"},
      {u"\"--fst4w k1abc\"", SymbolForm::kFst4, u"--fst4w k1abc"},
      {u"k1abc --fst4w", SymbolForm::kFst4, u"k1abc --fst4w"},
      {u"-fst4w k1abc", SymbolForm::kFst4, u"-fst4w k1abc"},
      {u"--fst4", SymbolForm::kFst4, u"--fst4"},
      {u"", SymbolForm::kFst4, u""},
  };
  int rowNumber = 0;
  for (const auto& row : rows) {
    const FormRequest request = FormFromTail(row.tail);
    EXPECT_EQ(request.form, row.form) << rowNumber;
    EXPECT_EQ(MessageFromTail(request.rest), row.message) << rowNumber;
    ++rowNumber;
  }
}

// The answer to a command tail, through the System as the process entry
// gives it: the text on standard output and the exit code, or nothing
// written at all for a message.
std::pair<std::optional<int>, std::string> Answer(std::string_view tail, bool standardOutputWorks = true) {
  testing::MemorySystem system;
  system.commandTail = system.AnsiToWide(tail);
  system.standardOutputWorks = standardOutputWorks;
  const auto exitCode = run::AnswerInformationRequest(system);
  EXPECT_TRUE(system.commandLines.empty() && system.ScreenText().find_first_not_of('\n') == std::string::npos) << tail;
  if (standardOutputWorks || !exitCode) {
    EXPECT_EQ(system.standardError, "") << tail;
  } else {
    EXPECT_EQ(system.standardError, std::string(run::kInformationNotWrittenLine) + "\n") << tail;
  }
  if (!exitCode) {
    EXPECT_EQ(system.standardOutput, "") << tail;
  }
  return {exitCode, system.standardOutput};
}

// Every help and version word, in any letter case and with blanks and tabs
// around it, is answered; anything more or less is a message.
TEST(InformationFor, HelpAndVersionWordsTrimmedInAnyCase) {
  const auto usage = run::InformationFor("--help");
  ASSERT_TRUE(usage);
  const auto version = run::InformationFor("--version");
  ASSERT_TRUE(version);
  EXPECT_EQ(usage->substr(0, 34), "Usage: sympack [--fst4w] [message]");
  EXPECT_EQ(*version, "sympack " SYMPACK_TEST_VERSION "\n");
  for (const char* word : {"--help", "-h", "/?", "-?", "/help", "--HELP", "-H", "/Help", "\t/? ", " --help "}) {
    EXPECT_EQ(run::InformationFor(word), usage) << word;
    EXPECT_EQ(Answer(word), std::make_pair(std::optional<int>(run::kExitOk), *usage)) << word;
  }
  for (const char* word : {"--version", "/version", "-v", "-V", "--Version\t", " /VERSION "}) {
    EXPECT_EQ(run::InformationFor(word), version) << word;
    EXPECT_EQ(Answer(word), std::make_pair(std::optional<int>(run::kExitOk), *version)) << word;
  }
  for (const char* tail : {"", "\"/?\"", "--help x", "-h -v", "/??", "--hel", "- h", "-help", "--v"}) {
    EXPECT_EQ(run::InformationFor(tail), std::nullopt) << tail;
    EXPECT_EQ(Answer(tail).first, std::nullopt) << tail;
  }
  // Standard output that takes nothing (a full disk): said on standard error.
  for (const char* word : {"--help", "-v"}) {
    EXPECT_EQ(Answer(word, false), std::make_pair(std::optional<int>(run::kExitNotWritten), std::string())) << word;
  }
}

}  // namespace
}  // namespace sympack::command
