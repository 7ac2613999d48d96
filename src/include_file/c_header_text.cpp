#include "include_file/c_header_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "include_file/include_text.h"
#include "text/ascii_case.h"
#include "text/control_characters.h"
#include "text/hex_digits.h"

namespace sympack::include_file {
namespace {

constexpr std::array<std::string_view, 2> kHeaderEndings = {".h", ".hpp"};
constexpr char kTab = '\t';

// FNV-1a, 64 bits (Fowler, Noll, Vo: offset basis 14695981039346656037,
// prime 1099511628211).
constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;
constexpr std::size_t kGuardHexDigits = 64 / text::kBitsPerHexDigit;

// A tab stays in a comment as it is; every other control is replaced.
bool IsControlByte(char c) { return text::IsAsciiControl(c) && c != kTab; }

// "*/" would end the comment; "/*" would open one inside it, which compilers
// warn about.
bool WouldJoinIntoCommentMark(char previous, char next) {
  return (previous == '*' && next == '/') || (previous == '/' && next == '*');
}

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = kFnvOffsetBasis;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kFnvPrime;
  }
  return hash;
}

std::string GuardName(std::string_view guardedText) {
  std::string name(kGuardPrefix);
  const std::uint64_t hash = Fnv1a(guardedText);
  for (std::size_t digit = kGuardHexDigits; digit-- > 0;) {
    name += text::kHexDigits[(hash >> (digit * text::kBitsPerHexDigit)) & text::kHexDigitMask];
  }
  return name;
}

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

void AppendElements(std::string& text, const ChannelSymbols& symbols) {
  for (std::size_t at = 0; at < symbols.size(); ++at) {
    if (at % kElementsPerLine == 0) {
      if (at > 0) {
        text += ',';
        text += kLineEnd;
      }
      text += kElementLineStart;
    } else {
      text += kElementSeparator;
    }
    text += static_cast<char>('0' + symbols[at]);
  }
  text += kLineEnd;
}

// Everything after the guard's two lines, up to the closing #endif.
std::string GuardedBody(const ChannelSymbols& symbols) {
  std::string body;
  body += "#define ";
  body += kCountName;
  body += ' ';
  AppendLine(body, std::to_string(symbols.size()));
  AppendLine(body, kFlashCondition);
  AppendLine(body, kFlashInclude);
  AppendLine(body, kFlashReader);
  AppendLine(body, kFlashArray);
  AppendLine(body, "#else");
  AppendLine(body, kRamReader);
  body += kArrayType;
  body += kArrayName;
  body += '[';
  body += kCountName;
  AppendLine(body, "] = {");
  AppendLine(body, "#endif");
  AppendElements(body, symbols);
  AppendLine(body, kArrayEnd);
  return body;
}

}  // namespace

bool NamesCHeader(std::string_view destinationName) {
  return std::any_of(kHeaderEndings.begin(), kHeaderEndings.end(), [&](std::string_view ending) {
    return text::EndsWithIgnoringAsciiCase(destinationName, ending);
  });
}

std::string CommentSafeText(std::string_view messageText) {
  std::string safe;
  safe.reserve(messageText.size() + messageText.size() / 2);
  for (const char c : messageText) {
    const char byte = IsControlByte(c) ? kCommentReplacement : c;
    if (!safe.empty() && WouldJoinIntoCommentMark(safe.back(), byte)) safe += ' ';
    safe += byte;
  }
  return safe;
}

std::string BuildCHeaderText(const ChannelSymbols& symbols, std::string_view messageText) {
  std::string comments;
  AppendLine(comments, kCHeaderLine);
  comments += kCommentStart;
  comments += CommentSafeText(messageText);
  AppendLine(comments, kCommentEnd);
  const std::string body = GuardedBody(symbols);
  const std::string guard = GuardName(comments + body);

  std::string text = comments;
  text.reserve(comments.size() + body.size() + 2 * guard.size() + 32);
  text += "#ifndef ";
  AppendLine(text, guard);
  text += "#define ";
  AppendLine(text, guard);
  text += body;
  AppendLine(text, "#endif");
  return text;
}

}  // namespace sympack::include_file
