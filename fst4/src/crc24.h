// CRC-24 protecting the FST4 and FST4W information words, computed by the
// core (fst4/core/fst4_frame.c: generator 0x100065B, initial value 0, no
// reflection, no final XOR).
#pragma once

#include <cstdint>

#include "bits.h"
#include "fst4/encoder.h"

namespace fst4::detail {

// Remainder of (message followed by 24 zero bits) divided by the generator.
std::uint32_t crc24(BitView message);

// Remainder of the whole word divided by the generator: 0 for a message
// with its CRC appended.
std::uint32_t crc24_remainder(BitView word);

}  // namespace fst4::detail
