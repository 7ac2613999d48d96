// Decoding free text (type 0.0) and telemetry (type 0.5).
#include <array>
#include <cstdint>
#include <string_view>

#include "payload.h"

namespace fst4::detail {

namespace {

constexpr std::uint32_t kTextBase = 42;
constexpr std::size_t kTextLength = 13;
constexpr int kTextBits = 71;  // 42^13 < 2^71

// Telemetry: up to 18 hex digits read as three 6-digit numbers of 23, 24
// and 24 bits.
constexpr std::size_t kTelemetryDigits = 18;

// A 96-bit unsigned number as three 32-bit limbs, most significant first;
// enough for the 71-bit free-text value.
using Wide = std::array<std::uint32_t, 3>;

void multiply_add(Wide& value, std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::size_t i = value.size(); i-- > 0;) {
    std::uint64_t product = std::uint64_t{value[i]} * factor + carry;
    value[i] = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
}

std::uint32_t divide(Wide& value, std::uint32_t divisor) {
  std::uint64_t remainder = 0;
  for (auto& limb : value) {
    std::uint64_t current = (remainder << 32) | limb;
    limb = static_cast<std::uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  return static_cast<std::uint32_t>(remainder);
}

Wide get_wide(BitView bits, int width) {
  Wide value{};
  for (int i = 0; i < width; ++i) multiply_add(value, 2, bits[static_cast<std::size_t>(i)]);
  return value;
}

std::string_view trim_left(std::string_view text, char pad) {
  auto first = text.find_first_not_of(pad);
  return first == std::string_view::npos ? std::string_view{} : slice(text, first);
}

}  // namespace

std::optional<Text> unpack_free_text(BitView bits) {
  Wide value = get_wide(bits, kTextBits);
  FixedString<kTextLength> all(kTextLength, ' ');
  for (std::size_t i = kTextLength; i-- > 0;) all[i] = kTextAlphabet[divide(value, kTextBase)];
  std::string_view text = trim_left(all, ' ');
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  return Text(text);
}

std::optional<Text> unpack_telemetry(BitView bits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::uint64_t parts[3] = {get_bits(bits, 0, 23), get_bits(bits, 23, 24), get_bits(bits, 47, 24)};
  FixedString<kTelemetryDigits> text;
  for (auto part : parts) {
    for (int shift = 20; shift >= 0; shift -= 4) text.push_back(kHex[(part >> shift) & 0xF]);
  }
  // All-zero telemetry decodes to an empty message, as in the reference.
  return Text(trim_left(text, '0'));
}

}  // namespace fst4::detail
