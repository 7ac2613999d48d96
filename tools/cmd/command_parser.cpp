#include "command_parser.h"

#include "command_characters.h"
#include "delayed_expansion.h"
#include "text/line_ends.h"

namespace sympack::cmd {
namespace {

constexpr char kEscape = '^';
constexpr char kLineFeed = text::kLf;
constexpr char kCarriageReturn = text::kCr;

// Reads the redirection target after > or >>: one word, quotes allowed,
// escapes honoured. Advances `pos` past it.
std::string ReadTarget(std::string_view command, std::size_t& pos) {
  while (pos < command.size() && IsSeparator(command[pos])) ++pos;
  std::string target;
  bool quoted = false;
  for (; pos < command.size(); ++pos) {
    const char c = command[pos];
    if (c == kQuote) {
      quoted = !quoted;
    } else if (!quoted && IsSeparator(c)) {
      break;
    } else if (!quoted && c == kEscape && pos + 1 < command.size()) {
      target += command[++pos];
    } else {
      target += c;
    }
  }
  return target;
}

}  // namespace

ParsedCommand ParseCommand(std::string_view command) {
  ParsedCommand parsed;
  bool quoted = false;
  for (std::size_t pos = 0; pos < command.size(); ++pos) {
    const char c = command[pos];
    if (c == kLineFeed) break;  // the command line ends here, the rest is lost
    if (quoted) {
      if (c == kQuote) quoted = false;
      parsed.text += c;
      continue;
    }
    switch (c) {
      case kQuote:
        quoted = true;
        parsed.text += c;
        break;
      case kEscape:
        // The escaped character is taken as it is, a quote included: it does
        // not open a quoted stretch. An escaped line feed continues the line:
        // it goes, and the character after it is taken as it is.
        if (pos + 1 < command.size() && command[pos + 1] == kLineFeed) ++pos;
        if (pos + 1 < command.size()) parsed.text += command[++pos];
        break;
      case '>':
        parsed.append = pos + 1 < command.size() && command[pos + 1] == '>';
        if (parsed.append) ++pos;
        ++pos;
        parsed.output = ReadTarget(command, pos);
        --pos;
        break;
      case '&':
      case '|':
      case '<':
      case '(':
      case ')':
        parsed.refused = c;
        return parsed;
      default:
        parsed.text += c;
    }
  }
  // Blanks left where the redirection stood are not part of the command.
  while (!parsed.text.empty() && IsSeparator(parsed.text.back())) parsed.text.pop_back();
  return parsed;
}

std::string FirstWord(std::string_view text, std::string_view& rest) {
  text = SkipSeparators(text);
  std::string word;
  bool quoted = false;
  std::size_t pos = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == kQuote) {
      quoted = !quoted;
    } else if (!quoted && IsSeparator(c)) {
      break;
    } else {
      word += c;
    }
  }
  rest = SkipSeparators(text.substr(pos));
  return word;
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  for (;;) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos >= text.size()) break;
    std::string argument;
    bool quoted = false;
    while (pos < text.size() && (quoted || !IsSeparator(text[pos]))) {
      std::size_t backslashes = 0;
      while (pos < text.size() && text[pos] == '\\') ++backslashes, ++pos;
      if (pos < text.size() && text[pos] == kQuote) {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += kQuote;
        } else if (quoted && pos + 1 < text.size() && text[pos + 1] == kQuote) {
          argument += kQuote;  // "" inside quotes
          ++pos;
        } else {
          quoted = !quoted;
        }
        ++pos;
      } else {
        argument.append(backslashes, '\\');
        if (pos < text.size() && (quoted || !IsSeparator(text[pos]))) argument += text[pos++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::vector<std::string> SplitTypeNames(std::string_view text) {
  std::vector<std::string> names;
  std::string name;
  bool quoted = false;
  bool any = false;
  for (const char c : text) {
    if (c == kQuote) {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (IsSeparator(c) || c == ',' || c == ';' || c == '=')) {
      if (any) names.push_back(std::move(name));
      name.clear();
      any = false;
    } else {
      name += c;
      any = true;
    }
  }
  if (any) names.push_back(std::move(name));
  return names;
}

CommandReading ReadCommand(std::string_view command, const VariableLookup& lookup, bool delayedExpansion) {
  std::string expanded = ExpandPercents(command, lookup);
  std::erase(expanded, kCarriageReturn);
  CommandReading reading;
  reading.parsed = ParseCommand(expanded);
  std::string_view rest;
  if (!delayedExpansion) {
    reading.name = FirstWord(reading.parsed.text, rest);
    reading.arguments = std::string(rest);
    return reading;
  }
  // Each token on its own: the name as written (quotes and all), the rest.
  const std::string_view text = SkipSeparators(reading.parsed.text);
  FirstWord(text, rest);
  const std::string name = ExpandDelayed(text.substr(0, text.size() - rest.size()), lookup);
  std::string_view none;
  reading.name = FirstWord(name, none);
  reading.arguments = ExpandDelayed(rest, lookup);
  if (reading.parsed.output) reading.parsed.output = ExpandDelayed(*reading.parsed.output, lookup);
  return reading;
}

}  // namespace sympack::cmd
