// Type 0.6: the WSPR-style 50-bit payloads sent as FST4W
// (packjt77.f90, pack77_06). Bits 51..71 stay zero.
//   type 1  CALL GRID4 dBm   c28 g15 p5 "00"
//   type 2  PFX/CALL dBm     c28 x16 p5 "1"   (or CALL/SFX)
//   type 3  <CALL> GRID      h22 g25 "010"    (only with the WSPR hint)
#include "payload.h"

namespace fst4::detail {

namespace {

constexpr int kN3Wspr = 6;
constexpr std::size_t kUnusedBits = 21;
constexpr long kMaxDbm = 60;
// x16: prefixes are base-36 numbers below 36^3; suffixes start at 36^3.
constexpr long kSuffixBase = 36L * 36 * 36;
constexpr std::string_view kBase36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Grid6 subsquares in type 3 use base 25; a grid4 is sent with both 24.
constexpr long kSubsquareBase = 25;
constexpr long kGrid4Subsquare = 24;

std::optional<long> dbm(const std::string& word) {
  // One or two digits, no sign.
  if (word.empty() || word.size() > 2 || !is_digit(word[0]) || !is_digit(word.back())) return std::nullopt;
  return parse_int(word);
}

// p5 = nint(0.3 * dBm) after clamping to 0..60, rounding halves up.
std::uint64_t power_field(long value) {
  if (value > kMaxDbm) value = kMaxDbm;
  return static_cast<std::uint64_t>((3 * value + 5) / 10);
}

long power_dbm(std::uint64_t p5) { return static_cast<long>((p5 * 20 + 3) / 6); }  // nint(p5*10/3)

long base36(char c) { return static_cast<long>(kBase36.find(c)); }

bool all_base36(std::string_view text) {
  for (char c : text) {
    if (kBase36.find(c) == std::string_view::npos) return false;
  }
  return true;
}

// The x16 prefix/suffix field of a compound call, or nothing. The side
// that is not the base call is the prefix or suffix.
//
// The reference instead takes everything before a '/' at position 2..4 as a
// prefix, so a 3-character call with a short suffix ("K1A/P") goes out as
// "K1A/K1A"; here it is sent as the suffix it is.
std::optional<long> affix_field(const std::string& call, const std::string& base) {
  auto slash = call.find('/');
  std::string left = call.substr(0, slash);
  std::string right = call.substr(slash + 1);
  // A 3-character right-hand part must end in a digit even when it is the
  // base call (the reference sends "PJ4/K1A 37" as free text).
  if (right.size() == 3 && !is_digit(right[2])) return std::nullopt;
  if (right == base) {  // prefix of 1 to 3 characters
    if (left.empty() || left.size() > 3 || !all_base36(left)) return std::nullopt;
    long value = 0;
    for (char c : left) value = value * 36 + base36(c);
    return value;
  }
  if (!all_base36(right)) return std::nullopt;
  if (right.size() == 1) return kSuffixBase + base36(right[0]);
  if (right.size() == 2) return kSuffixBase + 36 * base36(right[0]) + base36(right[1]);
  if (right.size() == 3 && is_digit(right[2])) {
    return kSuffixBase + 360 * base36(right[0]) + 10 * base36(right[1]) + (right[2] - '0');
  }
  return std::nullopt;
}

std::string affix_text(long x16, const std::string& base) {
  if (x16 < kSuffixBase) {
    std::string prefix(3, '0');
    for (int i = 2; i >= 0; --i, x16 /= 36) prefix[static_cast<std::size_t>(i)] = kBase36[static_cast<std::size_t>(x16 % 36)];
    prefix.erase(0, prefix.find_first_not_of('0'));
    return prefix + "/" + base;
  }
  long value = x16 - kSuffixBase;
  std::string suffix;
  if (value < 36) {
    suffix = std::string(1, kBase36[static_cast<std::size_t>(value)]);
  } else if (value < 36 * 36) {
    suffix = {kBase36[static_cast<std::size_t>(value / 36)], kBase36[static_cast<std::size_t>(value % 36)]};
  } else {
    suffix = {kBase36[static_cast<std::size_t>(value / 360)], kBase36[static_cast<std::size_t>(value / 10 % 36)],
              static_cast<char>('0' + value % 10)};
  }
  return base + "/" + suffix;
}

Payload finish_wspr(Bits bits) {
  for (std::size_t i = 0; i < kUnusedBits; ++i) bits.push_back(0);
  return finish_type0(std::move(bits), kN3Wspr);
}

std::optional<Payload> wspr_type1(const Words& words, HashBook& book) {
  const std::string& call = words.at(1);
  auto power = dbm(words.at(3));
  if (call.size() < 3 || call.size() > 6 || !base_call(call, QCalls::allowed) || !is_grid4(words.at(2)) || !power) return std::nullopt;
  Bits bits;
  put_bits(bits, pack28(call, book), 28);
  put_bits(bits, static_cast<std::uint64_t>(grid4_value(words.at(2))), 15);
  put_bits(bits, power_field(*power), 5);
  put_bits(bits, 0, 2);
  return finish_wspr(std::move(bits));
}

std::optional<Payload> wspr_type2(const Words& words, HashBook& book) {
  const std::string& call = words.at(1);
  auto power = dbm(words.at(2));
  auto base = base_call(call);
  if (!power || !base || call.find('/') == std::string::npos) return std::nullopt;
  auto affix = affix_field(call, *base);
  if (!affix) return std::nullopt;
  Bits bits;
  put_bits(bits, pack28(*base, book), 28);
  put_bits(bits, static_cast<std::uint64_t>(*affix), 16);
  put_bits(bits, power_field(*power), 5);
  put_bits(bits, 1, 1);
  return finish_wspr(std::move(bits));
}

std::optional<Payload> wspr_type3(const Words& words, HashBook& book) {
  auto call = bracketed_call(words.at(1));
  const std::string& grid = words.at(2);
  if (!call || !(is_grid4(grid) || is_grid6(grid))) return std::nullopt;
  book.save(*call);
  long s5 = grid.size() == 6 ? grid[4] - 'A' : kGrid4Subsquare;
  long s6 = grid.size() == 6 ? grid[5] - 'A' : kGrid4Subsquare;
  long g25 = (grid4_value(grid) * kSubsquareBase + s5) * kSubsquareBase + s6;
  Bits bits;
  put_bits(bits, hash_call(*call, 22), 22);
  put_bits(bits, static_cast<std::uint64_t>(g25), 25);
  put_bits(bits, 0b010, 3);
  return finish_wspr(std::move(bits));
}

}  // namespace

Attempt pack_wspr(const Words& words, HashBook& book, bool wspr_hint) {
  std::optional<Payload> payload;
  if (words.count() == 3) payload = wspr_type1(words, book);
  if (words.count() == 2) payload = wspr_type2(words, book);
  if (!payload && words.count() == 2 && wspr_hint) payload = wspr_type3(words, book);
  return payload ? Attempt::packed(std::move(*payload)) : Attempt::none();
}

std::optional<std::string> unpack_wspr(const Bits& bits, const HashBook& book) {
  bool bit49 = bits[48] != 0;
  bool bit50 = bits[49] != 0;
  if (!bit49 && !bit50) {
    auto call = unpack28(static_cast<std::uint32_t>(get_bits(bits, 0, 28)), book);
    if (!call) return std::nullopt;
    auto grid = grid4_text(static_cast<long>(get_bits(bits, 28, 15)));
    return *call + " " + grid + " " + std::to_string(power_dbm(get_bits(bits, 43, 5)));
  }
  if (bit50) {
    auto call = unpack28(static_cast<std::uint32_t>(get_bits(bits, 0, 28)), book);
    if (!call) return std::nullopt;
    auto x16 = static_cast<long>(get_bits(bits, 28, 16));
    return affix_text(x16, *call) + " " + std::to_string(power_dbm(get_bits(bits, 44, 5)));
  }
  std::string call = book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 22)), 22);
  long g25 = static_cast<long>(get_bits(bits, 22, 25));
  long s6 = g25 % kSubsquareBase;
  long s5 = g25 / kSubsquareBase % kSubsquareBase;
  std::string grid = grid4_text(g25 / (kSubsquareBase * kSubsquareBase));
  if (s5 != kGrid4Subsquare || s6 != kGrid4Subsquare) {
    grid += static_cast<char>('A' + s5);
    grid += static_cast<char>('A' + s6);
  }
  return call + " " + grid;
}

}  // namespace fst4::detail
