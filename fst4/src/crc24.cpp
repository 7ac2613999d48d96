#include "crc24.h"

#include <algorithm>

#include <fst4/fst4.h>

#include "packed.h"

namespace fst4::detail {

namespace {

// Any bit string the C++ layer holds (the tests divide longer ones).
constexpr std::size_t kLongestMessage = kCodewordBits;

}  // namespace

std::uint32_t crc24(BitView message) {
  std::uint8_t packed[(kLongestMessage + 7) / 8];
  pack_into(message.first(std::min(message.size(), kLongestMessage)), packed);
  return fst4_crc24(packed, static_cast<unsigned>(std::min(message.size(), kLongestMessage)));
}

// A word M followed by C is M * x^24 + C, so its remainder is the CRC of M
// XOR C (C has fewer than 25 bits).
std::uint32_t crc24_remainder(BitView word) {
  if (word.size() < kCrcBits) return static_cast<std::uint32_t>(get_bits(word, 0, static_cast<int>(word.size())));
  std::size_t split = word.size() - kCrcBits;
  return crc24(word.first(split)) ^ static_cast<std::uint32_t>(get_bits(word, split, static_cast<int>(kCrcBits)));
}

}  // namespace fst4::detail
