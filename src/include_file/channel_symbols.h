// One FST4 transmission's channel symbols: exactly 160, each 0 to 3. The one
// way to get them is from a listing's text, checked here once; both layouts
// of the include text take only this value, so neither has a rule of its own
// for a listing of another length or for characters that are no symbol.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sympack::include_file {

class ChannelSymbols {
 public:
  // One FST4 or FST4W transmission.
  static constexpr std::size_t kCount = 160;
  // The four tones a symbol names.
  static constexpr std::uint8_t kLevels = 4;

  // The symbols of a listing: exactly kCount characters "0" to "3", nothing
  // else (no blank, no line end); empty for any other text.
  static std::optional<ChannelSymbols> FromListing(std::string_view listing);

  std::uint8_t operator[](std::size_t at) const { return symbols_[at]; }
  static constexpr std::size_t size() { return kCount; }

 private:
  ChannelSymbols() = default;
  std::array<std::uint8_t, kCount> symbols_{};
};

}  // namespace sympack::include_file
