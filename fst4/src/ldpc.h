// Systematic LDPC encoders of FST4 (240,101) and FST4W (240,74).
#pragma once

#include "bits.h"
#include "fst4/encoder.h"

namespace fst4::detail {

// Returns info || parity (kCodewordBits). `info` must hold kInfoBits (FST4)
// or kFst4wInfoBits (FST4W); any other length yields an empty result.
Bits ldpc_encode(const Bits& info);

}  // namespace fst4::detail
