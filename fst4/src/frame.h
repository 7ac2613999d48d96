// From 77 payload bits to the 160 channel symbols, through the core
// (fst4/core/fst4_frame.c): scrambling, CRC-24, LDPC, Gray mapping and sync.
#pragma once

#include <cstdint>

#include "bits.h"
#include "fst4/encoder.h"

namespace fst4::detail {

using fst4::Symbols;

// FST4: payload XOR the scrambling vector, then CRC-24 (kInfoBits).
// FST4W: the first kFst4wPayloadBits payload bits unscrambled, then CRC-24
// (kFst4wInfoBits).
InfoBits information_word(BitView payload, bool fst4w);

// The channel symbols of an information word (kInfoBits or kFst4wInfoBits).
Symbols channel_symbols(BitView info);

}  // namespace fst4::detail
