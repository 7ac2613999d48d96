// Contest and expedition types: 0.1 DXpedition, 0.3/0.4 ARRL Field Day,
// 5 EU VHF. (ARRL RTTY Roundup, type 3, is in pack_rtty.cpp.)
#include <array>
#include <string_view>

#include "payload.h"

namespace fst4::detail {

namespace {

// ARRL sections, 1-based index sent in 7 bits (packjt77.f90, pack77_03, csec).
constexpr std::array<std::string_view, 86> kSections{
    "AB",  "AK",  "AL",  "AR",  "AZ",  "BC",  "CO",  "CT",  "DE",  "EB",  "EMA", "ENY", "EPA", "EWA", "GA",
    "GH",  "IA",  "ID",  "IL",  "IN",  "KS",  "KY",  "LA",  "LAX", "NS",  "MB",  "MDC", "ME",  "MI",  "MN",
    "MO",  "MS",  "MT",  "NC",  "ND",  "NE",  "NFL", "NH",  "NL",  "NLI", "NM",  "NNJ", "NNY", "TER", "NTX",
    "NV",  "OH",  "OK",  "ONE", "ONN", "ONS", "OR",  "ORG", "PAC", "PR",  "QC",  "RI",  "SB",  "SC",  "SCV",
    "SD",  "SDG", "SF",  "SFL", "SJV", "SK",  "SNJ", "STX", "SV",  "TN",  "UT",  "VA",  "VI",  "VT",  "WCF",
    "WI",  "WMA", "WNY", "WPA", "WTX", "WV",  "WWA", "WY",  "DX",  "PE",  "NB"};

// Field Day: 1..32 transmitters, 16 per n3 value; class letters A..H fit
// the 3-bit field.
constexpr long kMaxTransmitters = 32;
constexpr long kTransmittersPerN3 = 16;
constexpr int kClassLimit = 8;

// DXpedition report: r5 = (dB + 30) / 2, clamped to 0..31.
constexpr long kDxReportOffset = 30;
constexpr long kDxReportMax = 31;

// EU VHF exchange: RST 52..59 followed by a serial number.
constexpr long kMinExchange = 520001;
constexpr long kMaxExchange = 594095;
constexpr long kMaxSerial = 2047;
constexpr long kSubsquares = 24;

std::uint64_t field28(const std::string& word, HashBook& book) { return pack28(word, book); }

std::optional<std::string> call_at(const Bits& bits, std::size_t pos, const HashBook& book) {
  return unpack28(static_cast<std::uint32_t>(get_bits(bits, pos, 28)), book);
}

}  // namespace

Attempt pack_dxpedition(const Words& words, HashBook& book) {
  if (words.count() != 5 || words.at(2) != "RR73;") return Attempt::none();
  auto hashed = bracketed_call(words.at(4));
  auto db = parse_int(words.at(5));
  if (!hashed || !db || !base_call(words.at(1)) || !base_call(words.at(3))) return Attempt::none();
  long r5 = (*db + kDxReportOffset) / 2;  // C++ and Fortran both truncate toward zero
  r5 = r5 < 0 ? 0 : (r5 > kDxReportMax ? kDxReportMax : r5);
  Bits bits;
  put_bits(bits, field28(words.at(1), book), 28);
  put_bits(bits, field28(words.at(3), book), 28);
  // Saved after the two calls, as the reference saves it: when one of them
  // shares its 10-bit hash, the hashed call is still the one shown.
  book.save(*hashed);
  put_bits(bits, hash_call(*hashed, 10), 10);
  put_bits(bits, static_cast<std::uint64_t>(r5), 5);
  return Attempt::packed(finish_type0(std::move(bits), 1));
}

std::optional<std::string> unpack_dxpedition(const Bits& bits, const HashBook& book) {
  auto call1 = call_at(bits, 0, book);
  auto call2 = call_at(bits, 28, book);
  if (!call1 || !call2) return std::nullopt;
  std::string hashed = book.show(static_cast<std::uint32_t>(get_bits(bits, 56, 10)), 10);
  long db = 2 * static_cast<long>(get_bits(bits, 66, 5)) - kDxReportOffset;
  return *call1 + " RR73; " + *call2 + " " + hashed + " " + signed_report(db);
}

Attempt pack_field_day(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 4 || n > 5 || !base_call(words.at(1)) || !base_call(words.at(2))) return Attempt::none();
  std::size_t section = 0;
  for (std::size_t i = 0; i < kSections.size(); ++i) {
    if (kSections[i] == words.at(n)) section = i + 1;
  }
  if (section == 0 || (n == 5 && words.at(3) != "R")) return Attempt::none();
  const std::string& entry = words.at(n - 1);  // "<transmitters><class>"
  auto transmitters = parse_int(std::string_view(entry).substr(0, entry.size() - 1));
  if (!transmitters || *transmitters < 1 || *transmitters > kMaxTransmitters) return Attempt::none();
  int klass = entry.back() - 'A';
  // The reference does not range-check the class: a letter beyond H
  // overflows its 3-bit field and garbage is sent.
  if (klass < 0 || klass >= kClassLimit) return Attempt::refused("Field Day class must be A to H");
  long tx = *transmitters - 1;
  int n3 = tx >= kTransmittersPerN3 ? 4 : 3;
  Bits bits;
  put_bits(bits, field28(words.at(1), book), 28);
  put_bits(bits, field28(words.at(2), book), 28);
  put_bits(bits, n == 5 ? 1 : 0, 1);
  put_bits(bits, static_cast<std::uint64_t>(tx % kTransmittersPerN3), 4);
  put_bits(bits, static_cast<std::uint64_t>(klass), 3);
  put_bits(bits, section, 7);
  return Attempt::packed(finish_type0(std::move(bits), n3));
}

std::optional<std::string> unpack_field_day(const Bits& bits, int n3, const HashBook& book) {
  auto call1 = call_at(bits, 0, book);
  auto call2 = call_at(bits, 28, book);
  auto section = static_cast<std::size_t>(get_bits(bits, 64, 7));
  if (!call1 || !call2 || section < 1 || section > kSections.size()) return std::nullopt;
  long transmitters = static_cast<long>(get_bits(bits, 57, 4)) + 1 + (n3 == 4 ? kTransmittersPerN3 : 0);
  char klass = static_cast<char>('A' + get_bits(bits, 61, 3));
  return *call1 + " " + *call2 + (bits[56] != 0 ? " R " : " ") + std::to_string(transmitters) + klass + " " +
         std::string(kSections[section - 1]);
}

Attempt pack_eu_vhf(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 4 || n > 5) return Attempt::none();
  auto call1 = bracketed_call(words.at(1));
  auto call2 = bracketed_call(words.at(2));
  auto exchange = parse_int(words.at(n - 1));
  const std::string& grid = words.at(n);
  if (!call1 || !call2 || !exchange || !is_grid6(grid)) return Attempt::none();
  if (*exchange < kMinExchange || *exchange > kMaxExchange) return Attempt::none();
  book.save(*call1);
  book.save(*call2);
  long serial = *exchange % 10000;
  long g25 = ((grid4_value(grid) * kSubsquares) + (grid[4] - 'A')) * kSubsquares + (grid[5] - 'A');
  Bits bits;
  put_bits(bits, hash_call(*call1, 12), 12);
  put_bits(bits, hash_call(*call2, 22), 22);
  // With five words the third is not checked; only "R" sets the flag.
  put_bits(bits, (n == 5 && words.at(3) == "R") ? 1 : 0, 1);
  put_bits(bits, static_cast<std::uint64_t>(*exchange / 10000 - 52), 3);
  put_bits(bits, static_cast<std::uint64_t>(serial > kMaxSerial ? kMaxSerial : serial), 11);
  put_bits(bits, static_cast<std::uint64_t>(g25), 25);
  return Attempt::packed(finish(std::move(bits), 5));
}

std::optional<std::string> unpack_eu_vhf(const Bits& bits, const HashBook& book) {
  std::string call1 = book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 12)), 12);
  std::string call2 = book.show(static_cast<std::uint32_t>(get_bits(bits, 12, 22)), 22);
  long rst = 52 + static_cast<long>(get_bits(bits, 35, 3));
  std::string serial = std::to_string(get_bits(bits, 38, 11));
  serial.insert(0, 4 - serial.size(), '0');
  long g25 = static_cast<long>(get_bits(bits, 49, 25));
  std::string grid = grid4_text(g25 / (kSubsquares * kSubsquares));
  grid += static_cast<char>('A' + g25 / kSubsquares % kSubsquares);
  grid += static_cast<char>('A' + g25 % kSubsquares);
  return call1 + " " + call2 + (bits[34] != 0 ? " R " : " ") + std::to_string(rst) + serial + " " + grid;
}

}  // namespace fst4::detail
