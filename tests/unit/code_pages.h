// The ANSI code pages the command builders must be right in, as the tests
// model them: the character rule the tool is given (as the platform's
// AnsiCharacterLength gives it), and how the Windows command interpreter,
// which reads UTF-16, sees the bytes. Our interpreter's model reads bytes:
// only ASCII acts as syntax there, so a text whose characters of more than
// one byte are all above 0x7F may go to it as it stands (Windows-1252,
// UTF-8); a double-byte code page, whose trail bytes may be ASCII, goes
// through private-use code points, one per character, in UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/utf.h"

namespace sympack::testing {

// Code page 932 (Shift JIS): lead bytes 0x81-0x9F and 0xE0-0xFC take the
// next byte with them, as IsDBCSLeadByteEx tells the tool on Windows. Its
// trail bytes may be 0x5C (\, in 表 ソ 能 十), 0x5E (^), 0x7C (|) or
// 0x61-0x7A (a-z, in ツ).
inline bool IsLead932(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

inline std::size_t DoubleByteCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  return text.size() >= 2 && IsLead932(static_cast<unsigned char>(text[0])) ? 2 : 1;
}

// True when every lead byte has a trail byte of code page 932 after it
// (0x40-0x7E, 0x80-0xFC), as in any text the system converts from UTF-16.
inline bool IsWellFormed932(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLead932(static_cast<unsigned char>(text[i]))) continue;
    if (i + 1 >= text.size()) return false;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
  }
  return true;
}

constexpr char32_t kSingleHighBase = 0xE000;  // a high byte that is a character of its own
constexpr char32_t kPairBase = 0xF0000;       // lead << 8 | trail

inline std::string Widen932(std::string_view ansi) {
  std::string out;
  while (!ansi.empty()) {
    const auto lead = static_cast<unsigned char>(ansi[0]);
    if (DoubleByteCharacterLength(ansi) == 2) {
      text::AppendUtf8(out, kPairBase + (lead << 8 | static_cast<unsigned char>(ansi[1])));
      ansi.remove_prefix(2);
    } else {
      text::AppendUtf8(out, lead < 0x80 ? char32_t{lead} : kSingleHighBase + lead);
      ansi.remove_prefix(1);
    }
  }
  return out;
}

inline std::string Narrow932(std::string_view utf8) {
  const std::u16string units = text::Utf8ToUtf16(utf8);
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t code = units[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size()) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    if (code >= kPairBase) {
      out += static_cast<char>((code - kPairBase) >> 8);
      out += static_cast<char>((code - kPairBase) & 0xFF);
    } else {
      out += static_cast<char>(code >= kSingleHighBase ? code - kSingleHighBase : code);
    }
  }
  return out;
}

inline std::string AsItStands(std::string_view text) { return std::string(text); }

struct CodePageModel {
  const char* name;
  std::size_t (*characterLength)(std::string_view);
  bool singleByte;
  std::string (*toInterpreter)(std::string_view ansi);  // as the interpreter reads it
  std::string (*fromInterpreter)(std::string_view read);  // back to ANSI bytes
  bool (*isText)(std::string_view ansi);                 // bytes the system can hand the tool
};

inline bool AnyBytes(std::string_view) { return true; }

inline constexpr CodePageModel kCodePages[] = {
    {"1252", text::SingleByteCharacterLength, true, AsItStands, AsItStands, AnyBytes},
    {"UTF-8", text::Utf8CharacterLength, false, AsItStands, AsItStands, AnyBytes},
    {"932", DoubleByteCharacterLength, false, Widen932, Narrow932, IsWellFormed932},
};

}  // namespace sympack::testing
