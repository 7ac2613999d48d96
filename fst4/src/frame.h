// From 77 payload bits to the 160 channel symbols: scrambling, CRC-24, LDPC,
// Gray mapping and sync insertion.
#pragma once

#include <array>
#include <cstdint>

#include "bits.h"

namespace fst4::detail {

inline constexpr std::size_t kPayloadBits = 77;
// FST4W sends only the first 50 payload bits.
inline constexpr std::size_t kFst4wPayloadBits = 50;
inline constexpr std::size_t kSymbols = 160;

using Symbols = std::array<std::uint8_t, kSymbols>;

// FST4: payload XOR the scrambling vector, then CRC-24 (101 bits).
// FST4W: the first 50 payload bits unscrambled, then CRC-24 (74 bits).
Bits information_word(const Bits& payload, bool fst4w);

// Lays the 240-bit codeword out as 160 tones (see frame.cpp for the layout).
Symbols channel_symbols(const Bits& codeword);

}  // namespace fst4::detail
