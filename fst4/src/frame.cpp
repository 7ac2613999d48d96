#include "frame.h"

#include <fst4/fst4.h>

#include "packed.h"

namespace fst4::detail {

InfoBits information_word(BitView payload, bool fst4w) {
  std::uint8_t packed[FST4_PAYLOAD_BYTES];
  std::uint8_t info[FST4_INFO_BYTES];
  pack_into(payload, packed);
  fst4_information_word(packed, fst4w ? 1 : 0, info);
  InfoBits word;
  unpack_from(info, fst4w ? kFst4wInfoBits : kInfoBits, word);
  return word;
}

Symbols channel_symbols(BitView info) {
  std::uint8_t packed[FST4_INFO_BYTES];
  pack_into(info, packed);
  Symbols symbols{};
  fst4_channel_symbols(packed, info.size() == kFst4wInfoBits ? 1 : 0, symbols.data());
  return symbols;
}

}  // namespace fst4::detail
