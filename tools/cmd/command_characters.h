// The characters the interpreter's reading of a command line turns on, shared
// by the reading of its own switches and of the command after /C.
#pragma once

#include <string_view>

namespace sympack::cmd {

// A double quote starts or ends a stretch in which separators are literal.
inline constexpr char kQuote = '"';

// Blanks and tabs separate the words of a command line.
constexpr bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

// The text after its leading separators.
constexpr std::string_view SkipSeparators(std::string_view text) {
  while (!text.empty() && IsSeparator(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace sympack::cmd
