// Free text (type 0.0) and telemetry (type 0.5).
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
constexpr std::uint32_t kTelemetryFirstLimit = 1U << 23;

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

void put_wide(PayloadBits& bits, const Wide& value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    auto limb = value[value.size() - 1 - static_cast<std::size_t>(i / 32)];
    bits.push_back(static_cast<std::uint8_t>((limb >> (i % 32)) & 1U));
  }
}

Wide get_wide(BitView bits, int width) {
  Wide value{};
  for (int i = 0; i < width; ++i) multiply_add(value, 2, bits[static_cast<std::size_t>(i)]);
  return value;
}

int hex_digit(char c) {
  if (is_digit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trim_left(std::string_view text, char pad) {
  auto first = text.find_first_not_of(pad);
  return first == std::string_view::npos ? std::string_view{} : slice(text, first);
}

// One 6-character field of the right-aligned word: blanks, an optional
// '+', then hex digits (the reference's hex read accepts the sign).
std::optional<std::uint32_t> telemetry_field(std::string_view field) {
  auto first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  field.remove_prefix(first);
  if (field[0] == '+') field.remove_prefix(1);
  if (field.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : field) {
    int digit = hex_digit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

Attempt pack_free_text(const Words& words) {
  // The reference counts any other character as a blank.
  for (char c : words.text) {
    if (kTextAlphabet.find(c) == std::string_view::npos) {
      return Attempt::refused("free text carries only letters, digits, blanks and + - . / ?");
    }
  }
  // The first kTextLength characters, right-aligned.
  std::string_view head = slice(words.text.view(), 0, kTextLength);
  while (!head.empty() && head.back() == ' ') head.remove_suffix(1);
  FixedString<kTextLength> text(kTextLength - head.size(), ' ');
  text.append(head);
  Wide value{};
  for (char c : text) {
    auto index = kTextAlphabet.find(c);
    multiply_add(value, kTextBase, index == std::string_view::npos ? 0 : static_cast<std::uint32_t>(index));
  }
  PayloadBits bits;
  put_wide(bits, value, kTextBits);
  return Attempt::packed(finish_type0(bits, 0));
}

std::optional<Text> unpack_free_text(BitView bits) {
  Wide value = get_wide(bits, kTextBits);
  FixedString<kTextLength> all(kTextLength, ' ');
  for (std::size_t i = kTextLength; i-- > 0;) all[i] = kTextAlphabet[divide(value, kTextBase)];
  std::string_view text = trim_left(all, ' ');
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  return Text(text);
}

Attempt pack_telemetry(const Words& words) {
  // A single word read as hex digits, right-aligned in 18 places. Only its
  // first 18 characters are read (as the reference does); the word is taken
  // from the message itself, not cut to 13 characters.
  if (words.count() != 1) return Attempt::none();
  std::string_view word = slice(words.text.view(), 0, kTelemetryDigits);
  FixedString<kTelemetryDigits> padded(kTelemetryDigits - word.size(), ' ');
  padded.append(word);
  std::array<std::uint32_t, 3> parts{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto part = telemetry_field(slice(padded.view(), 6 * i, 6));
    if (!part) return Attempt::none();
    parts[i] = *part;
  }
  // Too large for 71 bits: the message goes out as free text instead.
  if (parts[0] >= kTelemetryFirstLimit) return pack_free_text(words);
  PayloadBits bits;
  put_bits(bits, parts[0], 23);
  put_bits(bits, parts[1], 24);
  put_bits(bits, parts[2], 24);
  return Attempt::packed(finish_type0(bits, 5));
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
