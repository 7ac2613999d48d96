// Systematic LDPC encoders of FST4 (240,101) and FST4W (240,74).
#pragma once

#include "bits.h"

namespace fst4::detail {

inline constexpr std::size_t kCodewordBits = 240;

// Returns info || parity (240 bits). `info` must hold 101 bits (FST4) or 74
// bits (FST4W); any other length yields an empty result.
Bits ldpc_encode(const Bits& info);

}  // namespace fst4::detail
