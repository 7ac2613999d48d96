#include "interpreter_switches.h"

#include <algorithm>

#include "command_characters.h"
#include "text/ascii_case.h"

namespace sympack::cmd {
namespace {

constexpr std::string_view kSpecialBetweenQuotes = "&<>()@^|";

// Applies one switch (upper-cased, without the command); false for one this
// interpreter does not know.
bool TakeSwitch(std::string_view word, InterpreterLine& line) {
  if (word == "/D") {
    line.autoRun = false;
  } else if (word == "/V:OFF") {
    line.delayedExpansion = false;
  } else if (word == "/V:ON" || word == "/V") {
    line.delayedExpansion = true;
  } else if (word == "/S") {
    line.keepQuotesRuleOff = true;
  } else {
    // Output in ANSI or Unicode, echo off, command extensions and file name
    // completion change nothing this interpreter does.
    static constexpr std::string_view kWithoutEffect[] = {"/A", "/U", "/Q", "/E:ON", "/E:OFF", "/F:ON", "/F:OFF"};
    return std::find(std::begin(kWithoutEffect), std::end(kWithoutEffect), word) != std::end(kWithoutEffect);
  }
  return true;
}

}  // namespace

std::optional<InterpreterLine> ReadInterpreterLine(std::string_view text) {
  InterpreterLine line;
  for (text = SkipSeparators(text); !text.empty(); text = SkipSeparators(text)) {
    const std::size_t end = std::min(text.size(), text.find_first_of(" \t"));
    const std::string word = text::AsciiUpper(text.substr(0, end));
    if (word == "/C") {
      line.command = SkipSeparators(text.substr(end));
      return line;
    }
    if (!TakeSwitch(word, line)) return std::nullopt;
    text.remove_prefix(end);
  }
  return std::nullopt;
}

std::string CommandAfterQuoteRule(const InterpreterLine& line,
                                  const std::function<bool(std::string_view)>& namesProgram) {
  const std::string_view command = line.command;
  if (command.empty() || command.front() != kQuote) return std::string(command);
  const std::size_t last = command.rfind(kQuote);
  if (!line.keepQuotesRuleOff && std::count(command.begin(), command.end(), kQuote) == 2) {
    const std::string_view between = command.substr(1, last - 1);
    if (between.find_first_of(kSpecialBetweenQuotes) == std::string_view::npos &&
        std::any_of(between.begin(), between.end(), IsSeparator) && namesProgram(between)) {
      return std::string(command);
    }
  }
  std::string out(command.substr(1));
  if (last > 0) out.erase(last - 1, 1);
  return out;
}

}  // namespace sympack::cmd
