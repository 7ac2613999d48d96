// How the Windows command interpreter reads its own command line:
//   cmd [/A|/U] [/Q] [/D] [/E:ON|/E:OFF] [/F:ON|/F:OFF] [/V:ON|/V:OFF] [/S] /C command
// (switches in any letter case and order, before /C). What the tool relies
// on: /D skips the registry's AutoRun command, /V:OFF rules out delayed
// expansion whatever the registry's DelayedExpansion says, /V:ON turns it
// on. /S, and the rule without it, decide what happens to quotes around the
// command (cmd /? "If /C or /K is specified, then the remainder of the command
// line after the switch is processed as a command line, where the following
// logic is used to process quote characters").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::cmd {

struct InterpreterLine {
  bool autoRun = true;                   // no /D: the registry's AutoRun runs first
  std::optional<bool> delayedExpansion;  // /V:ON or /V:OFF; unset: the registry decides
  bool keepQuotesRuleOff = false;        // /S: the old quote rule is not applied
  std::string_view command;              // after /C, leading blanks skipped, quotes as given
};

// The switches and the command; empty optional when the line has no /C or an
// unknown switch before it.
std::optional<InterpreterLine> ReadInterpreterLine(std::string_view line);

// The command as cmd.exe runs it, after its quote rule. When the command
// begins with a quote: with /S the first and the last quote are removed;
// without /S they are kept only when the command holds exactly two quotes,
// no & < > ( ) @ ^ | between them, a blank between them, and the text
// between them names a program (`namesProgram`); else they are removed too.
std::string CommandAfterQuoteRule(const InterpreterLine& line,
                                  const std::function<bool(std::string_view)>& namesProgram);

}  // namespace sympack::cmd
