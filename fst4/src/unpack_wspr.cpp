// Type 0.6: the WSPR-style 50-bit payloads sent as FST4W
// (packjt77.f90, pack77_06), packed by the core; decoded here.
//   type 1  CALL GRID4 dBm   c28 g15 p5 "00"
//   type 2  PFX/CALL dBm     c28 x16 p5 "1"   (or CALL/SFX)
//   type 3  <CALL> GRID      h22 g25 "010"    (only with the WSPR hint)
#include <algorithm>

#include <fst4/fst4.h>

#include "packed.h"
#include "payload.h"

namespace fst4::detail {

namespace {

// x16: prefixes are base-36 numbers below 36^3; suffixes start at 36^3.
constexpr long kSuffixBase = 36L * 36 * 36;
constexpr std::string_view kBase36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Grid6 subsquares in type 3 use base 25; a grid4 is sent with both 24.
constexpr long kSubsquareBase = 25;
constexpr long kGrid4Subsquare = 24;

long power_dbm(std::uint64_t p5) { return static_cast<long>((p5 * 20 + 3) / 6); }  // nint(p5*10/3)

void append_affixed(Text& out, long x16, std::string_view base) {
  if (x16 < kSuffixBase) {
    FixedString<3> prefix(3, '0');
    for (int i = 2; i >= 0; --i, x16 /= 36) prefix[static_cast<std::size_t>(i)] = kBase36[static_cast<std::size_t>(x16 % 36)];
    std::string_view digits = prefix;
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    append_all(out, digits, '/', base);
    return;
  }
  long value = x16 - kSuffixBase;
  append_all(out, base, '/');
  if (value < 36) {
    out.append(kBase36[static_cast<std::size_t>(value)]);
  } else if (value < 36 * 36) {
    append_all(out, kBase36[static_cast<std::size_t>(value / 36)], kBase36[static_cast<std::size_t>(value % 36)]);
  } else {
    append_all(out, kBase36[static_cast<std::size_t>(value / 360)], kBase36[static_cast<std::size_t>(value / 10 % 36)],
               static_cast<char>('0' + value % 10));
  }
}

}  // namespace

std::optional<Text> unpack_wspr(BitView bits, const HashBook& book) {
  bool bit49 = bits[48] != 0;
  bool bit50 = bits[49] != 0;
  Text text;
  if (!bit49 && !bit50) {
    auto call = unpack28(static_cast<std::uint32_t>(get_bits(bits, 0, 28)), book);
    if (!call) return std::nullopt;
    append_all(text, *call, ' ', grid4_text(static_cast<long>(get_bits(bits, 28, 15))), ' ');
    return append_decimal(text, static_cast<unsigned long long>(power_dbm(get_bits(bits, 43, 5))));
  }
  if (bit50) {
    auto call = unpack28(static_cast<std::uint32_t>(get_bits(bits, 0, 28)), book);
    if (!call) return std::nullopt;
    append_affixed(text, static_cast<long>(get_bits(bits, 28, 16)), *call);
    text.append(' ');
    return append_decimal(text, static_cast<unsigned long long>(power_dbm(get_bits(bits, 44, 5))));
  }
  long g25 = static_cast<long>(get_bits(bits, 22, 25));
  long s6 = g25 % kSubsquareBase;
  long s5 = g25 / kSubsquareBase % kSubsquareBase;
  append_all(text, book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 22)), 22), ' ',
             grid4_text(g25 / (kSubsquareBase * kSubsquareBase)));
  if (s5 != kGrid4Subsquare || s6 != kGrid4Subsquare) {
    append_all(text, static_cast<char>('A' + s5), static_cast<char>('A' + s6));
  }
  return text;
}

}  // namespace fst4::detail
