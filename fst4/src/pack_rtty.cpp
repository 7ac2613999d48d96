// Type 3, ARRL RTTY Roundup: [TU;] CALL CALL [R] 5x9 STATE-or-SERIAL.
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
constexpr long kMaxSerial = 7999;

std::optional<long> multiplier(std::string_view word) {
  for (std::size_t i = 0; i < kMultipliers.size(); ++i) {
    if (kMultipliers[i] == word) return static_cast<long>(i) + 1;
  }
  if (word.size() == 3 && word[0] == 'X' && is_digit(word[1]) && is_digit(word[2])) {
    long number = (word[1] - '0') * 10 + (word[2] - '0');
    if (number >= 1) return static_cast<long>(kMultipliers.size()) + number;
  }
  return std::nullopt;
}

void append_multiplier(Text& out, long index) {
  if (index <= static_cast<long>(kMultipliers.size())) {
    out.append(kMultipliers[static_cast<std::size_t>(index - 1)]);
  } else {
    out.append('X');
    append_decimal(out, static_cast<unsigned long long>(index - static_cast<long>(kMultipliers.size())), 2);
  }
}

// "5x9" with x = 1..9, judged on the first three characters as the
// reference does.
bool is_rst(std::string_view word) {
  return word.size() >= 3 && word[0] == '5' && word[1] >= '1' && word[1] <= '9' && word[2] == '9';
}

}  // namespace

// The reference reads its serial number only when the next-to-last word is
// a 5x9 report and otherwise goes on with an unset value (crashing or
// sending a made-up exchange). Here a message without that report, or
// whose report word is not a number, is simply not type 3.
Attempt pack_rtty(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 4 || n > 6) return Attempt::none();
  if (words.at(1)[0] == '<' && words.at(2)[0] == '<') return Attempt::none();
  std::size_t tu = words.at(1) == "TU;" ? 1 : 0;
  std::string_view call1 = words.at(1 + tu);
  std::string_view call2 = words.at(2 + tu);
  if (!base_call(call1) || !base_call(call2) || !is_rst(words.at(n - 1))) return Attempt::none();
  long exchange = 0;
  if (auto mult = multiplier(words.at(n))) {
    exchange = kMultiplierBase + *mult;
  } else if (auto serial = parse_int(words.at(n)); serial && *serial >= 1 && *serial <= kMaxSerial) {
    exchange = *serial;
  } else {
    return Attempt::none();
  }
  std::size_t r_flag = words.at(3 + tu) == "R" ? 1 : 0;
  auto rst = parse_int(words.at(3 + tu + r_flag));
  if (!rst) return Attempt::none();
  long rst3 = (*rst - 509) / 10 - 2;
  rst3 = rst3 < 0 ? 0 : (rst3 > 7 ? 7 : rst3);
  PayloadBits bits;
  put_bits(bits, tu, 1);
  put_bits(bits, pack28(call1, book), 28);
  put_bits(bits, pack28(call2, book), 28);
  put_bits(bits, r_flag, 1);
  put_bits(bits, static_cast<std::uint64_t>(rst3), 3);
  put_bits(bits, static_cast<std::uint64_t>(exchange), 13);
  return Attempt::packed(finish(bits, 3));
}

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
