// Decoding type 3, ARRL RTTY Roundup: [TU;] CALL CALL [R] 5x9 STATE-or-SERIAL.
// Layout: tu1 c28 c28 R1 rst3 exch13 i3.
#include <array>
#include <string_view>

#include "payload.h"

namespace fst4::detail {

namespace {

// States, provinces and DX entities, then X01..X99: exch13 = 8000 + the
// 1-based index (packjt77.f90, pack77_3, cmult). Serials use 1..7999.
constexpr std::array<std::string_view, 72> kMultipliers{
    "AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "ID", "IL", "IN",  "IA", "KS", "KY", "LA",
    "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY",  "NC", "ND", "OH", "OK",
    "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VA", "WA", "WV", "WI", "WY",  "NB", "NS", "QC", "ON",
    "MB", "SK", "AB", "BC", "NWT", "NF", "LB", "NU", "YT", "PEI", "DC", "DR", "FR", "GD", "GR", "OV", "ZH", "ZL"};
constexpr long kNumberedMultipliers = 99;  // X01..X99 follow the list
constexpr long kMultiplierBase = 8000;

void append_multiplier(Text& out, long index) {
  if (index <= static_cast<long>(kMultipliers.size())) {
    out.append(kMultipliers[static_cast<std::size_t>(index - 1)]);
  } else {
    out.append('X');
    append_decimal(out, static_cast<unsigned long long>(index - static_cast<long>(kMultipliers.size())), 2);
  }
}

}  // namespace

std::optional<Text> unpack_rtty(BitView bits, const HashBook& book) {
  auto call1 = unpack28(static_cast<std::uint32_t>(get_bits(bits, 1, 28)), book);
  auto call2 = unpack28(static_cast<std::uint32_t>(get_bits(bits, 29, 28)), book);
  long exchange = static_cast<long>(get_bits(bits, 61, 13));
  long mult = exchange - kMultiplierBase;
  if (!call1 || !call2 || mult > static_cast<long>(kMultipliers.size()) + kNumberedMultipliers) return std::nullopt;
  char rst[] = {'5', static_cast<char>('0' + get_bits(bits, 58, 3) + 2), '9', '\0'};
  Text text;
  append_all(text, bits[0] != 0 ? "TU; " : "", *call1, ' ', *call2, bits[57] != 0 ? " R " : " ", rst, ' ');
  if (mult >= 1) {
    append_multiplier(text, mult);
  } else {
    append_decimal(text, static_cast<unsigned long long>(exchange), 4);
  }
  return text;
}

}  // namespace fst4::detail
