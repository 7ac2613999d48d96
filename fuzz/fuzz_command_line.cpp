// Any UTF-16 command line (input bytes taken in pairs) split into the program
// token and the tail. The line sits in a heap block of exactly its length, so
// that a read past its end is caught. Checks: the token is a prefix and the
// tail a suffix of the line; only blanks stand between them; the tail does
// not start with a blank; and the token follows the quoted or plain rule.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz_check.h"
#include "platform/command_line.h"

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';

bool AllBlanks(std::u16string_view text) {
  return text.find_first_not_of(kBlank) == std::u16string_view::npos;
}

void CheckToken(std::u16string_view line, std::u16string_view token) {
  if (line.empty() || line.front() == kBlank) {
    FUZZ_CHECK(token.empty(), "a token where the line has none");
    return;
  }
  FUZZ_CHECK(!token.empty(), "no token on a line that has one");
  if (line.front() == kQuote) {
    const std::size_t close = line.find(kQuote, 1);
    const std::size_t expected = close == std::u16string_view::npos ? line.size() : close + 1;
    FUZZ_CHECK(token.size() == expected, "a quoted token not ending at its closing quote");
    return;
  }
  for (const char16_t unit : token.substr(1)) {
    FUZZ_CHECK(unit > kBlank, "a plain token running over a blank or control character");
  }
  FUZZ_CHECK(token.size() == line.size() || line[token.size()] <= kBlank,
             "a plain token ending early");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t units = size / sizeof(char16_t);
  const auto exact = std::make_unique<char16_t[]>(units);
  if (units > 0) std::memcpy(exact.get(), data, units * sizeof(char16_t));
  const std::u16string_view line(exact.get(), units);

  const auto parts = sympack::platform::SplitCommandLine(line);
  const auto* const end = line.data() + line.size();
  FUZZ_CHECK(parts.programToken.data() == line.data() || parts.programToken.empty(),
             "the token is not where the line starts");
  FUZZ_CHECK(parts.tail.data() + parts.tail.size() == end || parts.tail.empty(),
             "the tail is not a suffix of the line");
  FUZZ_CHECK(parts.programToken.size() + parts.tail.size() <= line.size(), "token and tail overlap");

  const std::size_t gapStart = parts.programToken.size();
  const std::size_t gapEnd = line.size() - parts.tail.size();
  FUZZ_CHECK(AllBlanks(line.substr(gapStart, gapEnd - gapStart)), "a non-blank dropped");
  FUZZ_CHECK(parts.tail.empty() || parts.tail.front() != kBlank, "the tail starts with a blank");
  CheckToken(line, parts.programToken);
  return 0;
}
