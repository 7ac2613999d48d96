#include "simulator/command_tail.h"

#include <array>

#include "text/ascii_case.h"

namespace sympack::simulator {

std::string CommandTail(platform::System& system) { return system.WideToAnsi(system.CommandTail()); }

std::string_view TrimmedTail(std::string_view tail) {
  constexpr std::string_view kBlanks = " \t";
  const auto first = tail.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return tail.substr(first, tail.find_last_not_of(kBlanks) - first + 1);
}

FormRequest FormFromTail(std::string_view tail) {
  constexpr std::array<std::string_view, 2> kFst4wWords = {"--fst4w", "/fst4w"};
  const std::string_view trimmed = TrimmedTail(tail);
  for (const std::string_view word : kFst4wWords) {
    if (trimmed.size() < word.size()) continue;
    const std::string_view head = trimmed.substr(0, word.size());
    bool same = true;
    for (std::size_t i = 0; i < word.size(); ++i) same = same && text::AsciiLower(head[i]) == word[i];
    const std::string_view after = trimmed.substr(word.size());
    if (same && (after.empty() || after.front() == ' ' || after.front() == '\t')) {
      return {SymbolForm::kFst4w, after};
    }
  }
  return {SymbolForm::kFst4, tail};
}

std::string MessageFromTail(std::string_view tail) {
  constexpr char kQuote = '"';
  tail = TrimmedTail(tail);
  if (tail.size() >= 2 && tail.front() == kQuote && tail.back() == kQuote &&
      tail.substr(1, tail.size() - 2).find(kQuote) == std::string_view::npos) {
    return std::string(tail.substr(1, tail.size() - 2));
  }
  return std::string(tail);
}

}  // namespace sympack::simulator
