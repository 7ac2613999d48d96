// Blanks and tabs: what separates words for cmd.exe, for the C runtime and in
// the simulator's report, and what is never part of a word at either end.
#pragma once

#include <string_view>

namespace sympack::text {

constexpr std::string_view kBlanks = " \t";

// The text without the blanks and tabs around it; in UTF-16 as in bytes, as
// both are the same characters there.
template <typename Char>
std::basic_string_view<Char> WithoutBlanksAround(std::basic_string_view<Char> text) {
  constexpr Char kBlanksOf[] = {' ', '\t', 0};
  const auto first = text.find_first_not_of(kBlanksOf);
  if (first == std::basic_string_view<Char>::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanksOf) - first + 1);
}

inline std::string_view WithoutBlanksAround(std::string_view text) { return WithoutBlanksAround<char>(text); }

}  // namespace sympack::text
