#include "command/interpreter_argument.h"

#include <algorithm>

#include "text/control_characters.h"

namespace sympack::command {
namespace {

constexpr char kQuote = '"';
constexpr char kEscape = '^';
constexpr char kBackslash = '\\';
constexpr char kPercent = '%';

// Characters that end a TYPE name or act as interpreter syntax outside
// quotes. Any of them makes a bare name unsafe.
constexpr std::string_view kTypeNeedsQuotes = " \t,;=&|<>()^%";

// The length of the character that starts `text`, never 0 nor past its end.
std::size_t NextCharacter(std::string_view text, CharacterLength characterLength) {
  const std::size_t length = characterLength(text);
  return length == 0 || length > text.size() ? 1 : length;
}

// The C runtime's quoting: within quotes, backslashes are literal except
// before a quote, where 2n backslashes give n, and \" gives a quote. So
// every run of backslashes before a quote of the text, or before the
// closing quote, is doubled, and each quote of the text gets one more. The
// runtime reads by character: in a double-byte code page a trail byte 0x5C
// is part of its character, not a backslash.
std::string QuoteForProgram(std::string_view text, CharacterLength characterLength) {
  std::string out(1, kQuote);
  std::size_t backslashes = 0;
  while (!text.empty()) {
    const std::size_t length = NextCharacter(text, characterLength);
    const std::string_view character = text.substr(0, length);
    if (character.front() == kBackslash && length == 1) {
      ++backslashes;
    } else {
      if (character.front() == kQuote && length == 1) out.append(backslashes + 1, kBackslash);
      backslashes = 0;
    }
    out += character;
    text.remove_prefix(length);
  }
  out.append(backslashes, kBackslash);
  out += kQuote;
  return out;
}

std::string QuoteForType(std::string_view name) {
  if (name.find_first_of(kTypeNeedsQuotes) == std::string_view::npos) return std::string(name);
  std::string out(1, kQuote);
  out += name;
  out += kQuote;
  return out;
}

// A caret before every character, outside the interpreter's quotes.
std::string CaretBeforeEveryCharacter(std::string_view word, CharacterLength characterLength) {
  std::string out;
  out.reserve(word.size() * 2);
  while (!word.empty()) {
    const std::size_t length = NextCharacter(word, characterLength);
    out += kEscape;
    out += word.substr(0, length);
    word.remove_prefix(length);
  }
  return out;
}

}  // namespace

bool HoldsControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char byte) { return text::IsAsciiControl(byte); });
}

std::optional<std::string> InterpreterArgument(std::string_view text, ArgumentReader reader,
                                               CharacterLength characterLength) {
  if (HoldsControlCharacter(text)) return std::nullopt;
  const bool hasQuote = text.find(kQuote) != std::string_view::npos;
  if (reader == ArgumentReader::kTypeCommand && (hasQuote || text.empty())) return std::nullopt;

  const std::string word =
      reader == ArgumentReader::kProgram ? QuoteForProgram(text, characterLength) : QuoteForType(text);
  // Only the framing quotes are left as the interpreter's quotes, and nothing
  // between them is expanded: the word goes as it stands.
  if (!hasQuote && text.find(kPercent) == std::string_view::npos) return word;
  return CaretBeforeEveryCharacter(word, characterLength);
}

}  // namespace sympack::command
