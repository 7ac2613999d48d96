#include "platform/command_line.h"

namespace sympack::platform {
namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';

std::size_t SkipBlanks(std::u16string_view line, std::size_t pos) {
  while (pos < line.size() && line[pos] == kBlank) ++pos;
  return pos;
}

// End (one past) of the program-name token.
std::size_t TokenEnd(std::u16string_view line) {
  if (line.empty() || line[0] == kBlank) return 0;
  if (line[0] == kQuote) {
    const std::size_t close = line.find(kQuote, 1);
    return close == std::u16string_view::npos ? line.size() : close + 1;
  }
  std::size_t pos = 1;
  while (pos < line.size() && line[pos] > kBlank) ++pos;
  return pos;
}

}  // namespace

CommandLineParts SplitCommandLine(std::u16string_view commandLine) {
  const std::size_t tokenEnd = TokenEnd(commandLine);
  const std::size_t tailStart = SkipBlanks(commandLine, tokenEnd);
  return {commandLine.substr(0, tokenEnd), commandLine.substr(tailStart)};
}

}  // namespace sympack::platform
