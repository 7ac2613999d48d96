// Generator tables of the two systematic LDPC codes.
//
// Row i gives the information bits that parity bit i sums (mod 2): bit j of
// the row (0-based) sits in word j / 64 at bit position 63 - j % 64, as in
// the published hex rows read MSB first; bits beyond the information length
// are unused (the information word is zero there).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "fst4/encoder.h"

namespace fst4::detail {

// (240,101): kInfoBits information bits, 139 parity rows of 26 hex digits.
inline constexpr std::size_t kParity101 = kCodewordBits - kInfoBits;
// (240,74): kFst4wInfoBits information bits, 166 parity rows of 19 hex digits.
inline constexpr std::size_t kParity74 = kCodewordBits - kFst4wInfoBits;

using PackedRow = std::array<std::uint64_t, 2>;

extern const PackedRow kGenerator101[kParity101];
extern const PackedRow kGenerator74[kParity74];

}  // namespace fst4::detail
