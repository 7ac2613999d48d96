#include "delayed_expansion.h"

namespace sympack::cmd {
namespace {

constexpr char kBang = '!';
constexpr char kEscape = '^';

}  // namespace

std::string ExpandDelayed(std::string_view token, const VariableLookup& lookup) {
  if (token.find(kBang) == std::string_view::npos) return std::string(token);
  std::string out;
  std::size_t pos = 0;
  while (pos < token.size()) {
    const char c = token[pos];
    if (c == kEscape) {
      if (pos + 1 < token.size()) out += token[pos + 1];
      pos += 2;
    } else if (c != kBang) {
      out += c;
      ++pos;
    } else {
      const std::size_t closing = token.find(kBang, pos + 1);
      if (closing == std::string_view::npos) {
        ++pos;  // a lone ! goes
      } else if (closing == pos + 1) {
        ++pos;  // !! opens once
      } else {
        if (const auto value = VariableForm(token.substr(pos + 1, closing - pos - 1), lookup)) out += *value;
        pos = closing + 1;
      }
    }
  }
  return out;
}

}  // namespace sympack::cmd
