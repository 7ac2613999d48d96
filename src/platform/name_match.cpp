#include "platform/name_match.h"

#include "text/ascii_case.h"

namespace sympack::platform {

char16_t FoldCase(char16_t unit) {
  if (unit < 0x80) return text::AsciiUpper(unit);
  // Latin-1 small letters à..þ except ÷ fold onto À..Þ.
  if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) return static_cast<char16_t>(unit - 0x20);
  switch (unit) {
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    case 0x00FF: return 0x0178;  // ÿ
    default: return unit;
  }
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool HasWildcards(std::u16string_view name) {
  return name.find_first_of(u"*?") != std::u16string_view::npos;
}

std::u16string_view NormalisedWindowsName(std::u16string_view path) {
  const auto kept = path.find_last_not_of(u". ");
  if (kept == std::u16string_view::npos || path[kept] == u'\\' || path[kept] == u'/' || path[kept] == u':') {
    return path;
  }
  return path.substr(0, kept + 1);
}

namespace {

bool IsDeviceName(std::u16string_view base) {
  static constexpr std::u16string_view kNames[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (const auto name : kNames) {
    if (EqualsIgnoringCase(base, name)) return true;
  }
  if (base.size() != 4) return false;
  const std::u16string_view stem = base.substr(0, 3);
  if (!EqualsIgnoringCase(stem, u"COM") && !EqualsIgnoringCase(stem, u"LPT")) return false;
  const char16_t digit = base[3];
  return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
}

}  // namespace

bool IsDeviceNameWithExtension(std::u16string_view path) {
  const auto cut = path.find_last_of(u"\\/:");
  const std::u16string_view last = cut == std::u16string_view::npos ? path : path.substr(cut + 1);
  const auto dot = last.find(u'.');
  if (dot == std::u16string_view::npos) return false;
  std::u16string_view base = last.substr(0, dot);
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  // "NUL." or "NUL . " is the bare name once Windows drops trailing dots and blanks.
  if (NormalisedWindowsName(last).find(u'.') == std::u16string_view::npos) return false;
  return IsDeviceName(base);
}

}  // namespace sympack::platform
