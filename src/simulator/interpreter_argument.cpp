#include "simulator/interpreter_argument.h"

namespace sympack::simulator {
namespace {

constexpr char kQuote = '"';
constexpr char kEscape = '^';
constexpr char kBackslash = '\\';
constexpr char kPercent = '%';

// Characters that end a TYPE name or act as interpreter syntax outside
// quotes. Any of them makes a bare name unsafe.
constexpr std::string_view kTypeNeedsQuotes = " \t,;=&|<>()^%";

// The C runtime's quoting: within quotes, backslashes are literal except
// before a quote, where 2n backslashes give n, and \" gives a quote. So
// every run of backslashes before a quote of the text, or before the
// closing quote, is doubled, and each quote of the text gets one more.
std::string QuoteForProgram(std::string_view text) {
  std::string out(1, kQuote);
  std::size_t backslashes = 0;
  for (const char c : text) {
    if (c == kBackslash) {
      ++backslashes;
    } else {
      if (c == kQuote) out.append(backslashes + 1, kBackslash);
      backslashes = 0;
    }
    out += c;
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
    std::size_t length = characterLength(word);
    if (length == 0 || length > word.size()) length = 1;
    out += kEscape;
    out += word.substr(0, length);
    word.remove_prefix(length);
  }
  return out;
}

}  // namespace

std::optional<std::string> InterpreterArgument(std::string_view text, ArgumentReader reader,
                                               CharacterLength characterLength) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  const bool hasQuote = text.find(kQuote) != std::string_view::npos;
  if (reader == ArgumentReader::kTypeCommand && (hasQuote || text.empty())) return std::nullopt;

  const std::string word = reader == ArgumentReader::kProgram ? QuoteForProgram(text) : QuoteForType(text);
  // Only the framing quotes are left as the interpreter's quotes, and nothing
  // between them is expanded: the word goes as it stands.
  if (!hasQuote && text.find(kPercent) == std::string_view::npos) return word;
  return CaretBeforeEveryCharacter(word, characterLength);
}

}  // namespace sympack::simulator
