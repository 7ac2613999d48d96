// Generator tables of the two systematic LDPC codes, as hex rows.
//
// Row i gives the information bits that parity bit i sums (mod 2): bit j of
// the row is the j-th bit of the hex string read MSB first; bits beyond the
// information length in the last hex digit are unused.
#pragma once

#include <cstddef>

#include "fst4/encoder.h"

namespace fst4::detail {

// (240,101): kInfoBits information bits, 139 parity rows of 26 hex digits.
inline constexpr std::size_t kParity101 = kCodewordBits - kInfoBits;
// (240,74): kFst4wInfoBits information bits, 166 parity rows of 19 hex digits.
inline constexpr std::size_t kParity74 = kCodewordBits - kFst4wInfoBits;

extern const char* const kGenerator101[kParity101];
extern const char* const kGenerator74[kParity74];

}  // namespace fst4::detail
