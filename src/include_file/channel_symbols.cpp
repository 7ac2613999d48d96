#include "include_file/channel_symbols.h"

namespace sympack::include_file {

std::optional<ChannelSymbols> ChannelSymbols::FromListing(std::string_view listing) {
  if (listing.size() != kCount) return std::nullopt;
  ChannelSymbols symbols;
  for (std::size_t at = 0; at < kCount; ++at) {
    const char c = listing[at];
    if (c < '0' || c >= static_cast<char>('0' + kLevels)) return std::nullopt;
    symbols.symbols_[at] = static_cast<std::uint8_t>(c - '0');
  }
  return symbols;
}

}  // namespace sympack::include_file
