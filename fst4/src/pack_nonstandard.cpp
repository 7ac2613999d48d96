// Type 4: one hashed call and one call sent whole (up to 11 characters).
// Layout: h12 c58 flip1 rpt2 cq1 i3.
//   "<WA9XYZ> PJ4/KA1ABC RR73", "PJ4/KA1ABC <WA9XYZ> 73", "CQ PJ4/KA1ABC"
// The whole call is cut to 11 characters; a call with characters outside
// its alphabet is not type 4 (the reference folds them into the number).
#include "payload.h"

namespace fst4::detail {

namespace {

// Any other third word is ignored (the reference sends no reply then).
std::uint64_t reply_code(std::string_view word) {
  if (word == "RRR") return 1;
  if (word == "RR73") return 2;
  if (word == "73") return 3;
  return 0;
}

constexpr const char* kReplies[] = {"", " RRR", " RR73", " 73"};

// "CQ" with a call of at most 4 characters is not type 4 (it ends up as
// free text).
constexpr std::size_t kMinCqCall = 5;

Attempt packed(std::uint32_t h12, std::string_view whole, bool flip, std::uint64_t reply, bool cq) {
  PayloadBits bits;
  put_bits(bits, h12, 12);
  put_bits(bits, pack58(whole), 58);
  put_bits(bits, flip ? 1 : 0, 1);
  put_bits(bits, reply, 2);
  put_bits(bits, cq ? 1 : 0, 1);
  return Attempt::packed(finish(bits, 4));
}

}  // namespace

Attempt pack_nonstandard(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 2 || n > 3) return Attempt::none();
  auto reply = reply_code(words.at(3));
  std::string_view w1 = words.at(1);
  std::string_view w2 = words.at(2);

  if (w1 == "CQ") {
    std::string_view call = bracketed_call(w2).value_or(w2);
    if (call.size() < kMinCqCall || !in_call_alphabet(call)) return Attempt::none();
    book.save(call);
    return packed(hash_call(call, 12), call, false, 0, true);
  }
  auto hashed1 = bracketed_call(w1);
  auto hashed2 = bracketed_call(w2);
  if (hashed1.has_value() == hashed2.has_value()) {
    // Two valid calls without brackets, the second compound: the reference
    // sends an empty type-4 payload that decodes as "<...>".
    if (!hashed1 && n == 2 && base_call(w1) && base_call(w2) && w2.find('/') != std::string_view::npos) {
      return Attempt::refused("two calls, one with a prefix or suffix: put one of them in <>");
    }
    return Attempt::none();
  }
  std::string_view hashed = hashed1 ? *hashed1 : *hashed2;
  std::string_view whole = hashed1 ? w2 : w1;
  if (!in_call_alphabet(whole)) return Attempt::none();
  book.save(hashed);
  return packed(hash_call(hashed, 12), whole, !hashed1, reply, false);
}

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
