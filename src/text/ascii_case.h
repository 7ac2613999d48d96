// ASCII letter case: A..Z and a..z change, every other byte or UTF-16 unit
// stays as it is. This is how cmd.exe compares its command names, extensions
// and variable names, how a header's ending is recognised and how the
// protocol spells a message; wider folding (the file system's) is elsewhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sympack::text {

constexpr char kAsciiCaseDistance = 'a' - 'A';

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - kAsciiCaseDistance) : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + kAsciiCaseDistance) : c; }
constexpr char16_t AsciiUpper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - kAsciiCaseDistance) : c;
}

std::string AsciiUpper(std::string_view text);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view ending);

// Where `needle` first stands in `text` from `from` on, in any letter case;
// npos when it does not.
std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace sympack::text
