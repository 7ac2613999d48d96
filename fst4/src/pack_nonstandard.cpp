// Type 4: one hashed call and one call sent whole (up to 11 characters).
// Layout: h12 c58 flip1 rpt2 cq1 i3.
//   "<WA9XYZ> PJ4/KA1ABC RR73", "PJ4/KA1ABC <WA9XYZ> 73", "CQ PJ4/KA1ABC"
#include "payload.h"

namespace fst4::detail {

namespace {

std::optional<std::uint64_t> reply_code(const std::string& word) {
  if (word.empty()) return 0;
  if (word == "RRR") return 1;
  if (word == "RR73") return 2;
  if (word == "73") return 3;
  return std::nullopt;
}

constexpr const char* kReplies[] = {"", " RRR", " RR73", " 73"};

bool sendable(const std::string& call) {
  if (call.empty() || call.size() > 11) return false;
  for (char c : call) {
    if (kCallAlphabet38.find(c) == std::string_view::npos || c == ' ') return false;
  }
  return true;
}

Attempt packed(std::uint32_t h12, const std::string& whole, bool flip, std::uint64_t reply, bool cq) {
  Bits bits;
  put_bits(bits, h12, 12);
  put_bits(bits, pack58(whole), 58);
  put_bits(bits, flip ? 1 : 0, 1);
  put_bits(bits, reply, 2);
  put_bits(bits, cq ? 1 : 0, 1);
  return Attempt::packed(finish(std::move(bits), 4));
}

}  // namespace

Attempt pack_nonstandard(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 2 || n > 3) return Attempt::none();
  auto reply = reply_code(n == 3 ? words.at(3) : std::string{});
  if (!reply) return Attempt::none();
  const std::string& w1 = words.at(1);
  const std::string& w2 = words.at(2);

  if (w1 == "CQ" && n == 2) {
    std::string call = bracketed_call(w2).value_or(w2);
    if (!sendable(call)) return Attempt::none();
    book.save(call);
    return packed(hash_call(call, 12), call, false, 0, true);
  }
  auto hashed1 = bracketed_call(w1);
  auto hashed2 = bracketed_call(w2);
  if (hashed1.has_value() == hashed2.has_value()) {
    // Two calls without brackets (one of them compound): the reference
    // sends an empty type-4 payload that decodes as "<...>".
    if (!hashed1 && base_call(w1) && base_call(w2)) return Attempt::refused("put one of the two calls in <>");
    return Attempt::none();
  }
  const std::string& hashed = hashed1 ? *hashed1 : *hashed2;
  const std::string& whole = hashed1 ? w2 : w1;
  if (!sendable(whole)) return Attempt::none();
  book.save(hashed);
  return packed(hash_call(hashed, 12), whole, !hashed1, *reply, false);
}

std::optional<std::string> unpack_nonstandard(const Bits& bits, const HashBook& book) {
  std::string hashed = book.show(static_cast<std::uint32_t>(get_bits(bits, 0, 12)), 12);
  std::string whole = unpack58(get_bits(bits, 12, 58));
  bool flip = bits[70] != 0;
  auto reply = get_bits(bits, 71, 2);
  bool cq = bits[73] != 0;
  if (whole.empty()) return std::nullopt;
  if (cq) return "CQ " + whole;
  return (flip ? whole + " " + hashed : hashed + " " + whole) + kReplies[reply];
}

}  // namespace fst4::detail
