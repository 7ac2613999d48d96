// From 77 payload bits to the 160 channel symbols: scrambling, CRC-24, LDPC,
// Gray mapping and sync insertion.
#pragma once

#include <array>
#include <cstdint>

#include "bits.h"
#include "fst4/encoder.h"

namespace fst4::detail {

using Symbols = std::array<std::uint8_t, kChannelSymbols>;

// FST4: payload XOR the scrambling vector, then CRC-24 (kInfoBits).
// FST4W: the first kFst4wPayloadBits payload bits unscrambled, then CRC-24
// (kFst4wInfoBits).
Bits information_word(const Bits& payload, bool fst4w);

// Lays the codeword out as the channel symbols (see frame.cpp for the layout).
Symbols channel_symbols(const Bits& codeword);

}  // namespace fst4::detail
