#include "ldpc.h"

#include <fst4/fst4.h>

#include "packed.h"

namespace fst4::detail {

Bits ldpc_encode(BitView info) {
  if (info.size() != kInfoBits && info.size() != kFst4wInfoBits) return {};
  const bool fst4w = info.size() == kFst4wInfoBits;
  std::uint8_t word[FST4_INFO_BYTES];
  pack_into(info, word);
  Bits codeword(info.begin(), info.end());
  for (std::size_t row = 0; codeword.size() < kCodewordBits; ++row) {
    codeword.push_back(fst4_parity_bit(word, fst4w ? 1 : 0, static_cast<unsigned>(row)));
  }
  return codeword;
}

}  // namespace fst4::detail
