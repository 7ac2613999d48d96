#include "simulator/command_tail.h"

#include "platform/platform.h"

namespace sympack::simulator {

std::string CommandTail(int argc, char** argv) {
  return platform::WideToAnsi(platform::CommandTailWide(argc, argv));
}

std::string MessageFromTail(std::string_view tail) {
  constexpr char kQuote = '"';
  if (tail.size() >= 2 && tail.front() == kQuote && tail.back() == kQuote &&
      tail.substr(1, tail.size() - 2).find(kQuote) == std::string_view::npos) {
    return std::string(tail.substr(1, tail.size() - 2));
  }
  return std::string(tail);
}

}  // namespace sympack::simulator
