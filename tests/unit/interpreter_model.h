// How Windows would run a command the tool builds, by the documented rules,
// for the property tests: CreateProcess takes the interpreter from the first
// token of the line InterpreterCommandLine makes; cmd.exe reads its switches
// as if the registry held DelayedExpansion = 1 and an AutoRun command, then
// the command (cmd.exe reads UTF-16: the code page model hands it over) in an
// environment where every name that could form is defined with a value that
// would chain a command; the program's C runtime or TYPE splits what is left,
// and the words go back to the ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "code_pages.h"
#include "command_parser.h"
#include "interpreter_switches.h"
#include "platform/command_line.h"
#include "command/interpreter.h"
#include "text/utf.h"

namespace sympack::testing {

// Only a name that begins with a caret (or is empty) is not defined.
inline std::optional<std::string> EveryNameDefined(std::string_view name) {
  if (name.empty() || name.front() == '^') return std::nullopt;
  return std::string("&DEL FST4SIM.EXE&");
}

// An interpreter path CreateProcess would split at its blank.
constexpr std::u16string_view kInterpreterWithBlank = u"C:\\Program Files\\Windows cmd\\cmd.exe";

struct WindowsRun {
  std::u16string program;        // what CreateProcess starts, quotes removed
  bool switchesRead = false;     // the interpreter took its switches and /C
  bool autoRunRuns = true;       // the registry's AutoRun runs before the command
  bool delayedExpansion = true;  // the registry's DelayedExpansion holds
  cmd::CommandReading reading;
  std::vector<std::string> words;  // the program's arguments or TYPE's names, ANSI
};

inline WindowsRun RunAsWindows(std::string_view command, const CodePageModel& codePage) {
  WindowsRun run;
  // The whole line as the builder makes it (the command's bytes carried one
  // unit each, so they come back as they went), then read as the interpreter
  // reads it.
  const std::u16string bytesAsUnits(command.begin(), command.end());
  const auto whole = command::InterpreterCommandLine(kInterpreterWithBlank, bytesAsUnits);
  if (!whole) return run;
  const platform::CommandLineParts parts = platform::SplitCommandLine(*whole);
  std::u16string_view program = parts.programToken;
  if (program.size() >= 2 && program.front() == u'"' && program.back() == u'"') {
    program = program.substr(1, program.size() - 2);
  }
  run.program = std::u16string(program);
  const std::string line = codePage.toInterpreter(std::string(parts.tail.begin(), parts.tail.end()));
  const auto switches = cmd::ReadInterpreterLine(line);
  if (!switches) return run;
  run.switchesRead = true;
  run.autoRunRuns = switches->autoRun;
  run.delayedExpansion = switches->delayedExpansion.value_or(true);
  const std::string afterQuotes = cmd::CommandAfterQuoteRule(*switches, [](std::string_view) { return true; });
  run.reading = cmd::ReadCommand(afterQuotes, EveryNameDefined, run.delayedExpansion);
  const bool type = run.reading.name == "TYPE";
  for (const std::string& word : type ? cmd::SplitTypeNames(run.reading.arguments)
                                      : cmd::SplitArguments(run.reading.arguments)) {
    run.words.push_back(codePage.fromInterpreter(word));
  }
  if (run.reading.parsed.output) run.reading.parsed.output = codePage.fromInterpreter(*run.reading.parsed.output);
  return run;
}

}  // namespace sympack::testing
