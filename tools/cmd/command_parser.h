// The command syntax our stand-in interpreter understands: the subset of the
// Windows command interpreter's that the tool uses. Double quotes toggle a
// quoted stretch; outside it, ^ takes the next character literally, > (or >>)
// redirects standard output into a file, and &, | and < are refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Everything after the /C switch (any letter case), leading blanks skipped;
// empty optional when the line does not start with the switch.
std::optional<std::string_view> AfterSwitch(std::string_view line);

}  // namespace sympack::cmd
