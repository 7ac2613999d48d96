#include "percent_expansion.h"

#include <algorithm>

#include "command_characters.h"
#include "text/ascii_case.h"

namespace sympack::cmd {
namespace {

constexpr char kPercent = '%';
constexpr char kColon = ':';
constexpr char kTilde = '~';
constexpr char kEquals = '=';
constexpr char kComma = ',';
constexpr char kStar = '*';

// A number as the interpreter reads it here: blanks, an optional sign,
// decimal digits; anything else ends it, and no digits read as 0.
long ReadNumber(std::string_view& text) {
  text = SkipSeparators(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long value = 0;
  constexpr long kLimit = 1L << 30;
  while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
    value = std::min(kLimit, value * 10 + (text.front() - '0'));
    text.remove_prefix(1);
  }
  return negative ? -value : value;
}

// :~start,length
std::string Substring(std::string_view value, std::string_view form) {
  const long size = static_cast<long>(value.size());
  long start = ReadNumber(form);
  if (start < 0) start = std::max(0L, size + start);
  start = std::min(start, size);
  long length = size - start;
  if (!form.empty() && form.front() == kComma) {
    form.remove_prefix(1);
    const long asked = ReadNumber(form);
    length = asked < 0 ? std::max(0L, size - start + asked) : std::min(asked, size - start);
  }
  return std::string(value.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

// :old=new, or :*old=new. Empty optional when `old` is empty (no valid form).
std::optional<std::string> Replace(std::string_view value, std::string_view form) {
  const auto equals = form.find(kEquals);
  std::string_view old = form.substr(0, equals);
  const std::string_view replacement = form.substr(equals + 1);
  const bool fromStart = !old.empty() && old.front() == kStar;
  if (fromStart) old.remove_prefix(1);
  if (old.empty()) return std::nullopt;
  std::string out;
  std::size_t pos = 0;
  while (true) {
    const std::size_t found = text::FindIgnoringAsciiCase(value, old, pos);
    if (found == std::string_view::npos) break;
    if (!fromStart) out += value.substr(pos, found - pos);
    out += replacement;
    pos = found + old.size();
    if (fromStart) break;
  }
  out += value.substr(pos);
  return out;
}

// The text that stands for %name:modifier%, or empty optional when the form
// is not a valid one.
std::optional<std::string> Modified(std::string_view value, std::string_view modifier) {
  if (!modifier.empty() && modifier.front() == kTilde) return Substring(value, modifier.substr(1));
  if (modifier.find(kEquals) != std::string_view::npos) return Replace(value, modifier);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> VariableForm(std::string_view form, const VariableLookup& lookup) {
  const std::size_t colon = form.find(kColon);
  const std::string_view name = form.substr(0, colon);
  if (name.empty()) return std::nullopt;
  const auto value = lookup(name);
  if (!value || colon == std::string_view::npos) return value;
  return Modified(*value, form.substr(colon + 1));
}

std::string ExpandPercents(std::string_view line, const VariableLookup& lookup) {
  std::string out;
  out.reserve(line.size());
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (line[pos] != kPercent) {
      out += line[pos++];
      continue;
    }
    const std::size_t nameEnd = line.find_first_of("%:", pos + 1);
    std::size_t closing = nameEnd;
    if (nameEnd != std::string_view::npos && line[nameEnd] == kColon) {
      closing = line.find(kPercent, nameEnd + 1);
    }
    std::optional<std::string> replacement;
    if (closing != std::string_view::npos) {
      const std::string_view name = line.substr(pos + 1, nameEnd - pos - 1);
      if (!name.empty()) {
        if (const auto value = lookup(name)) {
          replacement = nameEnd == closing ? std::optional<std::string>(*value)
                                           : Modified(*value, line.substr(nameEnd + 1, closing - nameEnd - 1));
        }
      }
    }
    if (replacement) {
      out += *replacement;
      pos = closing + 1;
    } else {
      out += kPercent;  // stays; scanning goes on at the next character
      ++pos;
    }
  }
  return out;
}

}  // namespace sympack::cmd
