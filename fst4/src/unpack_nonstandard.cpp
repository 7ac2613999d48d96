// Decoding type 4: one hashed call and one call sent whole (up to 11 characters).
// Layout: h12 c58 flip1 rpt2 cq1 i3.
//   "<WA9XYZ> PJ4/KA1ABC RR73", "PJ4/KA1ABC <WA9XYZ> 73", "CQ PJ4/KA1ABC"
#include "payload.h"

namespace fst4::detail {

namespace {

constexpr const char* kReplies[] = {"", " RRR", " RR73", " 73"};

}  // namespace

std::optional<Text> unpack_nonstandard(BitView bits, const HashBook& book) {
  CallText hashed = book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 12)), 12);
  CallText whole = unpack58(get_bits(bits, 12, 58));
  bool flip = bits[70] != 0;
  auto reply = get_bits(bits, 71, 2);
  bool cq = bits[73] != 0;
  if (whole.empty()) return std::nullopt;
  Text text;
  if (cq) return append_all(text, "CQ ", whole);
  if (flip) return append_all(text, whole, ' ', hashed, kReplies[reply]);
  return append_all(text, hashed, ' ', whole, kReplies[reply]);
}

}  // namespace fst4::detail
