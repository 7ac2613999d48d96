#include "simulator/upper_case.h"

#include <array>
#include <utility>

namespace sympack::simulator {
namespace {

// Code page 437 lower-case letters and their capitals: ä Ä, ö Ö, ü Ü, é É,
// ñ Ñ, å Å, ç Ç.
constexpr std::array<std::pair<unsigned char, unsigned char>, 7> kPcLetters = {{
    {0x84, 0x8E}, {0x94, 0x99}, {0x81, 0x9A}, {0x82, 0x90},
    {0xA4, 0xA5}, {0x86, 0x8F}, {0x87, 0x80},
}};

unsigned char UpperByte(unsigned char byte, bool singleByteCodePage) {
  if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 0x20);
  if (!singleByteCodePage) return byte;
  for (const auto& [lower, upper] : kPcLetters) {
    if (byte == lower) return upper;
  }
  return byte;
}

}  // namespace

std::string UpperCase(std::string_view text, bool singleByteCodePage) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c), singleByteCodePage));
  return out;
}

}  // namespace sympack::simulator
