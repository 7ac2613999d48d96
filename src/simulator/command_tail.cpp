#include "simulator/command_tail.h"

namespace sympack::simulator {

std::string CommandTail(platform::System& system) { return system.WideToAnsi(system.CommandTail()); }

std::string_view TrimmedTail(std::string_view tail) {
  constexpr std::string_view kBlanks = " \t";
  const auto first = tail.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return tail.substr(first, tail.find_last_not_of(kBlanks) - first + 1);
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
