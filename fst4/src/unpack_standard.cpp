// Decoding types 1 and 2: two calls, an optional "R" and a grid4, report,
// RRR, RR73 or 73. Layout: c28 r1 c28 r1 R1 g15 i3 (type 2 uses the r1 bits for /P).
#include "payload.h"

namespace fst4::detail {

namespace {

// g15 values above the 32400 grid squares (packjt77.f90, pack77_1).
constexpr long kGridLimit = 32400;
constexpr long kNoThirdWord = 1;
constexpr long kRRR = 2;
constexpr long kRR73 = 3;
constexpr long k73 = 4;
constexpr long kReportOffset = 35;  // irpt = dB + 35

}  // namespace

std::optional<Text> unpack_standard(BitView bits, int i3, const HashBook& book) {
  auto call1 = unpack28(static_cast<std::uint32_t>(get_bits(bits, 0, 28)), book);
  auto call2 = unpack28(static_cast<std::uint32_t>(get_bits(bits, 29, 28)), book);
  if (!call1 || !call2) return std::nullopt;
  const char* flag = i3 == 2 ? "/P" : "/R";
  bool r_flag = bits[58] != 0;
  long g15 = static_cast<long>(get_bits(bits, 59, 15));
  bool is_cq = call1->view().starts_with("CQ");
  // A bare CQ followed by a hashed call does not decode in the reference.
  if (*call1 == "CQ" && bits[28] == 0 && call2->front() == '<') return std::nullopt;
  Text message;
  append_all(message, *call1, bits[28] != 0 ? flag : "", ' ', *call2, bits[57] != 0 ? flag : "");
  if (g15 < kGridLimit) {
    // "CQ ... R grid" has no meaning; the reference rejects it.
    if (r_flag && is_cq) return std::nullopt;
    return append_all(message, r_flag ? " R " : " ", grid4_text(g15));
  }
  long irpt = g15 - kGridLimit;
  if (irpt == kNoThirdWord) return message;
  // Nor does a CQ with a report, RRR, RR73 or 73.
  if (is_cq) return std::nullopt;
  if (irpt == kRRR) return message.append(" RRR");
  if (irpt == kRR73) return message.append(" RR73");
  if (irpt == k73) return message.append(" 73");
  long db = irpt - kReportOffset;
  if (db > 50) db -= 101;
  return append_all(message, r_flag ? " R" : " ", signed_report(db));
}

}  // namespace fst4::detail
