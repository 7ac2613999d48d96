// CRC-24 protecting the FST4 and FST4W information words.
#pragma once

#include <cstdint>

#include "bits.h"
#include "fst4/encoder.h"

namespace fst4::detail {

// Generator x^24 + x^10 + x^9 + x^6 + x^4 + x^3 + x + 1 (WSJT-X 2.6.1,
// lib/fst4/get_crc24.f90). Initial value 0, no reflection, no final XOR.
inline constexpr std::uint32_t kCrc24Polynomial = 0x100065B;

// Remainder of (message followed by 24 zero bits) divided by the generator.
std::uint32_t crc24(const Bits& message);

// Remainder of the whole word divided by the generator: 0 for a message
// with its CRC appended.
std::uint32_t crc24_remainder(const Bits& word);

}  // namespace fst4::detail
