// Decoding the contest and expedition types: 0.1 DXpedition, 0.3/0.4 ARRL Field Day,
// 5 EU VHF. (ARRL RTTY Roundup, type 3, is in unpack_rtty.cpp.)
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

// Field Day: 1..32 transmitters, 16 per n3 value.
constexpr long kTransmittersPerN3 = 16;

// DXpedition report: sent as r5 = (dB + 30) / 2, shown as 2 r5 - 30.
constexpr long kDxReportOffset = 30;

// EU VHF grid6: subsquares in base 24.
constexpr long kSubsquares = 24;

std::optional<CallText> call_at(BitView bits, std::size_t pos, const HashBook& book) {
  return unpack28(static_cast<std::uint32_t>(get_bits(bits, pos, 28)), book);
}

}  // namespace

std::optional<Text> unpack_dxpedition(BitView bits, const HashBook& book) {
  auto call1 = call_at(bits, 0, book);
  auto call2 = call_at(bits, 28, book);
  if (!call1 || !call2) return std::nullopt;
  CallText hashed = book.show(static_cast<std::uint32_t>(get_bits(bits, 56, 10)), 10);
  long db = 2 * static_cast<long>(get_bits(bits, 66, 5)) - kDxReportOffset;
  Text text;
  return append_all(text, *call1, " RR73; ", *call2, ' ', hashed, ' ', signed_report(db));
}

std::optional<Text> unpack_field_day(BitView bits, int n3, const HashBook& book) {
  auto call1 = call_at(bits, 0, book);
  auto call2 = call_at(bits, 28, book);
  auto section = static_cast<std::size_t>(get_bits(bits, 64, 7));
  if (!call1 || !call2 || section < 1 || section > kSections.size()) return std::nullopt;
  long transmitters = static_cast<long>(get_bits(bits, 57, 4)) + 1 + (n3 == 4 ? kTransmittersPerN3 : 0);
  char klass = static_cast<char>('A' + get_bits(bits, 61, 3));
  Text text;
  append_all(text, *call1, ' ', *call2, bits[56] != 0 ? " R " : " ");
  append_decimal(text, static_cast<unsigned long long>(transmitters));
  return append_all(text, klass, ' ', kSections[section - 1]);
}

std::optional<Text> unpack_eu_vhf(BitView bits, const HashBook& book) {
  long rst = 52 + static_cast<long>(get_bits(bits, 35, 3));
  long g25 = static_cast<long>(get_bits(bits, 49, 25));
  Text text;
  append_all(text, book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 12)), 12), ' ',
             book.show(static_cast<std::uint32_t>(get_bits(bits, 12, 22)), 22), bits[34] != 0 ? " R " : " ");
  append_decimal(text, static_cast<unsigned long long>(rst));
  append_decimal(text, get_bits(bits, 38, 11), 4);
  return append_all(text, ' ', grid4_text(g25 / (kSubsquares * kSubsquares)),
                    static_cast<char>('A' + g25 / kSubsquares % kSubsquares), static_cast<char>('A' + g25 % kSubsquares));
}

}  // namespace fst4::detail
