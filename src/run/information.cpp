#include "run/information.h"

#include <algorithm>
#include <array>

#include "command/command_tail.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "text/ascii_case.h"
#include "text/blanks.h"
#include "report/file_names.h"

namespace sympack::run {
namespace {

// Compiled in from the project version in the top CMakeLists.txt.
constexpr std::string_view kVersion = SYMPACK_VERSION;

// The words a user types for usage or the version, on Windows and Linux
// alike; none of them is an FST4 message, so none is ever taken for one.
constexpr std::array<std::string_view, 5> kHelpWords = {"--help", "-h", "/?", "-?", "/help"};
constexpr std::array<std::string_view, 3> kVersionWords = {"--version", "/version", "-v"};

template <std::size_t N>
bool IsOneOf(std::string_view tail, const std::array<std::string_view, N>& words) {
  return std::any_of(words.begin(), words.end(), [tail](std::string_view word) {
    const auto sameLetter = [](char typed, char listed) { return text::AsciiLower(typed) == listed; };
    return tail.size() == word.size() && std::equal(tail.begin(), tail.end(), word.begin(), sameLetter);
  });
}

std::string Line(std::string_view text) { return std::string(text) + "\n"; }

// The codes right-aligned in two places, so that every meaning starts in the
// same column.
std::string ExitLine(int code, std::string_view meaning) {
  return (code < 10 ? "   " : code < 100 ? "  " : " ") + std::to_string(code) + "  " + std::string(meaning) + "\n";
}

std::string Usage() {
  const std::string simulator(report::kSimulatorProgram);
  std::string text = Line("Usage: sympack [--fst4w] [message]");
  text += Line("       sympack --help | -h | /? | --version | -v") + "\n";
  text += Line("Turns a message into the 160 FST4 (or FST4W) channel symbols of a PIC");
  text += Line("beacon, packs them four to a byte and writes them as `de` lines into an");
  text += Line("assembler include file (a C array for a name ending in .h or .hpp),");
  text += Line("and copies the same text to the clipboard.");
  text += Line(simulator + ", which computes the symbols, is taken from the current folder;");
  text += Line("when the folder has none, the one beside SYMPACK.EXE (Windows) or the one");
  text += Line("installed with sympack (Linux, libexec/sympack) runs instead. WSJT-X's");
  text += Line("fst4sim, copied in as " + simulator + ", works too.") + "\n";
  text += Line("--fst4w (or /fst4w) before the message asks for the FST4W frame. An FST4W");
  text += Line("beacon needs it for the second message of the pair that a 6-character");
  text += Line("grid or a compound call takes, such as <K1ABC> FN42AB: without it that");
  text += Line("message becomes an FST4 frame, which an FST4W receiver does not decode.");
  text += Line("CALL GRID4 dBm and PFX/CALL dBm are FST4W frames either way.") + "\n";
  text += Line("It asks, showing these prompts:");
  text += Line("  \"" + std::string(kMessagePrompt) + "\"  for the message, unless the command line holds one;");
  text += Line("      Enter alone ends the run");
  text += Line("  \"" + std::string(kDestinationPrompt) + "\"  for the include file, when the");
  text += Line("      report allows one;");
  text += Line("      Enter alone takes " + std::string(report::kDefaultDestination) + "; a name ending in .h or .hpp");
  text += Line("      gets the C layout") + "\n";
  text += Line("Exit codes:");
  text += ExitLine(kExitOk, "the include file was written, or the message was left empty");
  text += ExitLine(kExitSimulatorMissing, simulator + " is not in the current folder (Linux: nor installed)");
  text += ExitLine(kExitNoReport, "the simulator run left no report");
  text += ExitLine(kExitNoListing, "the simulator's report holds no channel symbols");
  text += ExitLine(kExitNotWritten, "the include file (or this text) could not be written in full");
  text += ExitLine(kExitFolderBusy, "another run is working in this folder");
  text += ExitLine(kExitOldReportStays, "an earlier run's report cannot be removed");
  text += ExitLine(kExitSimulatorFailed, "written, but the simulator ended with an error");
  text += ExitLine(kExitOtherText, "written, but the symbols carry another text than the message");
  text += ExitLine(kExitBadMessage, "the report's decoded text is the bad-message mark: nothing written");
  text += ExitLine(kExitWrongSymbolCount, "the listing does not hold exactly 160 symbols: nothing written");
  text += ExitLine(kExitControlCharacter, "the message holds a control character (CR, LF, tab, ...) that no");
  text += Line("      command line can carry exactly, or a character the code page cannot");
  text += Line("      hold, or a destination line read from standard input holds a control");
  text += Line("      character: refused, nothing more ran and nothing was written");
  text += ExitLine(kExitCommandTooLong, "the simulator's command line would pass cmd.exe's 8,191 characters:");
  text += Line("      refused before anything ran");
  text += ExitLine(kExitKeyboardLost, "the terminal went away at a prompt (hung up, its input ended): nothing");
  text += Line("      more ran, nothing was written, the report was removed") + "\n";
  text += Line("Ctrl+C or Ctrl+\\ (Windows: Ctrl+C, Ctrl+Break) while the simulator runs ends the");
  text += Line("run; so does any signal that ends a program (SIGTERM, SIGHUP, SIGPIPE...): the");
  text += Line("simulator ends with it, the report is removed, nothing is written, and the");
  text += Line("exit status is that of the signal (Windows: 0xC000013A).") + "\n";
  text += Line("Without a terminal, the answers are read as lines from standard input (the");
  text += Line("end of a file or pipe counts as Enter) and standard output gets a plain");
  text += Line("transcript of the run.") + "\n";
  text += Line("More in the README that comes with the program (README.txt on Windows;");
  text += Line("share/doc/sympack on Linux, where the manual page sympack(1) has it too).");
  return text;
}

}  // namespace

std::optional<std::string> InformationFor(std::string_view commandTail) {
  const std::string_view tail = text::WithoutBlanksAround(commandTail);
  if (IsOneOf(tail, kHelpWords)) return Usage();
  if (IsOneOf(tail, kVersionWords)) return "sympack " + std::string(kVersion) + "\n";
  return std::nullopt;
}

std::optional<int> AnswerInformationRequest(platform::System& system) {
  const auto information = InformationFor(command::CommandTail(system));
  if (!information) return std::nullopt;
  if (system.WriteStandardOutput(*information)) return kExitOk;
  system.WriteStandardError(std::string(kInformationNotWrittenLine) + "\n");
  return kExitNotWritten;
}

}  // namespace sympack::run
