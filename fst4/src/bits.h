// Bit strings as used throughout the encoder: one element per bit, value 0 or
// 1, fields written most significant bit first. Each kind has the capacity
// of its longest value, which keeps the encoder's stack small.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "fixed_vector.h"
#include "fst4/encoder.h"

namespace fst4::detail {

using Bits = FixedVector<std::uint8_t, kCodewordBits>;  // up to a codeword
using PayloadBits = FixedVector<std::uint8_t, kPayloadBits>;
using InfoBits = FixedVector<std::uint8_t, kInfoBits>;
// Any of them, read-only.
using BitView = std::span<const std::uint8_t>;

// Appends the low `width` bits of `value`, MSB first.
template <std::size_t Capacity>
void put_bits(FixedVector<std::uint8_t, Capacity>& bits, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    bits.push_back(static_cast<std::uint8_t>((value >> i) & 1U));
  }
}

// Reads `width` bits starting at index `pos` as an unsigned number.
inline std::uint64_t get_bits(BitView bits, std::size_t pos, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width; ++i) {
    value = (value << 1) | bits[pos + static_cast<std::size_t>(i)];
  }
  return value;
}

// '0'/'1' text; for the report layer and the tests, not the encode path.
inline std::string to_string(BitView bits) {
  std::string text;
  text.reserve(bits.size());
  for (auto bit : bits) text.push_back(bit != 0 ? '1' : '0');
  return text;
}

inline Bits from_string(const std::string& text) {
  Bits bits;
  for (char c : text) bits.push_back(c == '1' ? 1 : 0);
  return bits;
}

}  // namespace fst4::detail
