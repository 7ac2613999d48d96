#include "text/ascii_case.h"

#include <algorithm>

namespace sympack::text {
namespace {

template <typename Unit>
bool SameIgnoringAsciiCase(std::basic_string_view<Unit> a, std::basic_string_view<Unit> b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](Unit x, Unit y) { return AsciiUpper(x) == AsciiUpper(y); });
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) { return SameIgnoringAsciiCase(a, b); }

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle, std::size_t from) {
  for (std::size_t at = from; at <= text.size() && needle.size() <= text.size() - at; ++at) {
    if (EqualsIgnoringAsciiCase(text.substr(at, needle.size()), needle)) return at;
  }
  return std::string_view::npos;
}

}  // namespace sympack::text
