#include "command/upper_case.h"

#include <array>
#include <utility>

#include "text/ascii_case.h"

namespace sympack::command {
namespace {

// Code page 437 lower-case letters and their capitals: ä Ä, ö Ö, ü Ü, é É,
// ñ Ñ, å Å, ç Ç.
constexpr std::array<std::pair<unsigned char, unsigned char>, 7> kPcLetters = {{
    {0x84, 0x8E}, {0x94, 0x99}, {0x81, 0x9A}, {0x82, 0x90},
    {0xA4, 0xA5}, {0x86, 0x8F}, {0x87, 0x80},
}};

unsigned char UpperByte(unsigned char byte, bool singleByteCodePage) {
  if (byte < 0x80) return static_cast<unsigned char>(text::AsciiUpper(static_cast<char>(byte)));
  if (!singleByteCodePage) return byte;
  for (const auto& [lower, upper] : kPcLetters) {
    if (byte == lower) return upper;
  }
  return byte;
}

}  // namespace

std::string UpperCase(std::string_view text, CharacterLength characterLength, bool singleByteCodePage) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size();) {
    std::size_t length = characterLength(std::string_view(out).substr(pos));
    if (length == 0 || pos + length > out.size()) length = 1;
    // Only a character of one byte is a letter to change; the bytes of a
    // longer one stay as they are.
    if (length == 1) out[pos] = static_cast<char>(UpperByte(static_cast<unsigned char>(out[pos]), singleByteCodePage));
    pos += length;
  }
  return out;
}

}  // namespace sympack::command
