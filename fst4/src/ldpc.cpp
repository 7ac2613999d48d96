#include "ldpc.h"

#include <bit>
#include <cstdint>
#include <span>

#include "ldpc_tables.h"

namespace fst4::detail {

namespace {

// The information word packed like the generator rows (see ldpc_tables.h).
PackedRow pack(const Bits& info) {
  PackedRow packed{};
  for (std::size_t j = 0; j < info.size(); ++j) {
    if (info[j] != 0) packed[j / 64] |= std::uint64_t{1} << (63 - j % 64);
  }
  return packed;
}

std::span<const PackedRow> rows_for(std::size_t info_bits) {
  if (info_bits == kInfoBits) return kGenerator101;
  return kGenerator74;
}

}  // namespace

Bits ldpc_encode(const Bits& info) {
  if (info.size() != kInfoBits && info.size() != kFst4wInfoBits) return {};
  const PackedRow word = pack(info);
  Bits codeword = info;
  codeword.reserve(kCodewordBits);
  for (const PackedRow& row : rows_for(info.size())) {
    int ones = std::popcount(row[0] & word[0]) + std::popcount(row[1] & word[1]);
    codeword.push_back(static_cast<std::uint8_t>(ones & 1));
  }
  return codeword;
}

}  // namespace fst4::detail
