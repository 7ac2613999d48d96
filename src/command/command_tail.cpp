#include "command/command_tail.h"

#include <array>

#include "text/ascii_case.h"
#include "text/blanks.h"

namespace sympack::command {
namespace {

// The same rule for the tail as the system gives it (UTF-16) and as bytes in
// the ANSI code page: blanks, tabs and quotes are the same characters in both.
template <typename Char>
std::basic_string<Char> FromTail(std::basic_string_view<Char> tail) {
  constexpr Char kQuote = '"';
  tail = text::WithoutBlanksAround(tail);
  if (tail.size() >= 2 && tail.front() == kQuote && tail.back() == kQuote &&
      tail.substr(1, tail.size() - 2).find(kQuote) == std::basic_string_view<Char>::npos) {
    return std::basic_string<Char>(tail.substr(1, tail.size() - 2));
  }
  return std::basic_string<Char>(tail);
}

}  // namespace

std::string CommandTail(platform::System& system) { return system.WideToAnsi(system.CommandTail()); }

std::u16string MessageFromTail(std::u16string_view tail) { return FromTail(tail); }

FormRequest FormFromTail(std::u16string_view tail) {
  constexpr std::array<std::u16string_view, 2> kFst4wWords = {u"--fst4w", u"/fst4w"};
  const std::u16string_view trimmed = text::WithoutBlanksAround(tail);
  for (const std::u16string_view word : kFst4wWords) {
    if (trimmed.size() < word.size()) continue;
    const bool same = text::EqualsIgnoringAsciiCase(trimmed.substr(0, word.size()), word);
    const std::u16string_view after = trimmed.substr(word.size());
    if (same && (after.empty() || after.front() == u' ' || after.front() == u'\t')) {
      return {SymbolForm::kFst4w, after};
    }
  }
  return {SymbolForm::kFst4, tail};
}

}  // namespace sympack::command
