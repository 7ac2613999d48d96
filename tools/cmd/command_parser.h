// The command syntax our stand-in interpreter understands: the Windows
// command interpreter's reading of a /C command after percent expansion
// (percent_expansion.h). Double quotes toggle a quoted stretch and every
// character inside it is literal; outside it, ^ takes the next character
// literally (a ^ at the very end is dropped), > (or >>) redirects standard
// output into the next word, and &, |, <, ( and ) are syntax: chaining, pipes,
// input redirection and blocks are refused, nothing is run. A line feed ends
// the command (the rest is lost); after a caret it continues the line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "percent_expansion.h"

namespace sympack::cmd {

struct ParsedCommand {
  std::string text;                   // escapes removed, redirection taken out; quotes kept
  std::optional<std::string> output;  // the redirection's target file, quotes removed
  bool append = false;                // >> rather than >
  std::optional<char> refused;        // the unescaped character that made it refuse
};

ParsedCommand ParseCommand(std::string_view command);

// The first word of a command (the program or built-in name): up to the first
// blank or tab outside double quotes, with the quotes removed. `rest` gets what
// follows it.
std::string FirstWord(std::string_view text, std::string_view& rest);

// Splits an argument text by the rules Windows C programs use: blanks and tabs
// separate arguments outside double quotes; 2n backslashes before a quote give
// n backslashes and a quote that toggles quoting; 2n+1 give n backslashes and
// a literal quote; inside quotes, "" gives a literal quote.
std::vector<std::string> SplitArguments(std::string_view text);

// The names TYPE takes from its argument text: it splits at blanks, tabs,
// commas, semicolons and equals signs outside double quotes, and removes the
// quotes (the public analyses of cmd.exe's parser). A name with one of those
// characters must therefore be quoted.
std::vector<std::string> SplitTypeNames(std::string_view text);

// A /C command as the interpreter reads it: percents expanded with `lookup`;
// every carriage return removed (so a caret before one escapes the character
// after it); quotes, carets and redirection, a line feed ending the command;
// with delayed expansion on, each token read once more (delayed_expansion.h).
// The command name (its first word) and the argument text after it.
struct CommandReading {
  ParsedCommand parsed;
  std::string name;
  std::string arguments;
};
CommandReading ReadCommand(std::string_view command, const VariableLookup& lookup, bool delayedExpansion = false);

}  // namespace sympack::cmd
