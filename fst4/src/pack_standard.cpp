// Types 1 and 2: two calls, an optional "R" and a grid4, report, RRR, RR73
// or 73. Layout: c28 r1 c28 r1 R1 g15 i3 (type 2 uses the r1 bits for /P).
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
constexpr long kG15Limit = 1L << 15;

bool is_token(std::string_view word) {
  // Any "CQ_" word split_message joined is a token; one that is not a CQ
  // number or letters is hashed, as the reference hashes it.
  return word == "DE" || word == "QRZ" || word == "CQ" || (word.starts_with("CQ_") && in_call_alphabet(slice(word, 3)));
}

// "<...>" with the closing bracket at position 5 or later counts as a call;
// what lies inside must be in the call alphabet, the hash has no other.
bool is_hashed_word(std::string_view word) {
  auto close = word.find('>');
  return !word.empty() && word[0] == '<' && close != std::string_view::npos && close >= 4 &&
         in_call_alphabet(slice(word, 1, close - 1));
}

struct LastWord {
  long irpt = 0;      // g15 value above the grid range, or the grid value
  bool is_grid = false;
  bool r_flag = false;
};

// Reads "+nn", "-nn", "R+nn" or "R-nn". Reports -50..-31 are moved up by
// 101; other values are not range-checked (as in the reference).
std::optional<LastWord> report(std::string_view word) {
  bool r_flag = word.size() > 1 && word[0] == 'R' && (word[1] == '+' || word[1] == '-');
  std::string_view number = r_flag ? slice(word, 1) : word;
  if (number.empty() || (number[0] != '+' && number[0] != '-')) return std::nullopt;
  auto db = parse_int(number);
  if (!db) return std::nullopt;
  long value = *db;
  if (value >= -50 && value <= -31) value += 101;
  return LastWord{value + kReportOffset, false, r_flag};
}

// Grids and RR73 are recognised by the first four characters ("FN42NP" is
// sent as FN42, "RR73X" as RR73), as the reference does.
std::optional<LastWord> last_word(std::string_view word) {
  std::string_view head = slice(word, 0, 4);
  if (is_grid4(head)) return LastWord{grid4_value(head), true, false};
  if (word == "RRR") return LastWord{kRRR, false, false};
  if (head == "RR73") return LastWord{kRR73, false, false};
  if (word == "73") return LastWord{k73, false, false};
  return report(word);
}

bool call_ok(std::string_view word) { return is_hashed_word(word) || base_call(word).has_value(); }

// The word packed for a call: tokens and <calls> as written, other calls by
// their base call (so a prefix or suffix other than /R, /P is dropped).
std::string_view packed_form(std::string_view word) {
  if (is_token(word) || word[0] == '<') return word;
  return *base_call(word);
}

}  // namespace

Attempt pack_standard(const Words& words, HashBook& book) {
  std::size_t n = words.count();
  if (n < 2 || n > 4) return Attempt::none();
  std::string_view w1 = words.at(1);
  std::string_view w2 = words.at(2);
  if (!(is_token(w1) || call_ok(w1)) || !call_ok(w2)) return Attempt::none();
  if (w1[0] == '<' && w2.find('/') != std::string_view::npos) return Attempt::none();
  if (w2[0] == '<' && w1.find('/') != std::string_view::npos) return Attempt::none();
  if (n == 2 && w2.find('/') != std::string_view::npos) return Attempt::none();

  LastWord tail{kNoThirdWord, false, false};
  if (n >= 3) {
    auto parsed = last_word(words.at(n));
    if (!parsed) return Attempt::none();
    tail = *parsed;
  }
  if (n == 4 && words.at(3) != "R") return Attempt::none();
  // A separate "R" word is sent only in front of a grid; before RRR, RR73,
  // 73 or a report the reference drops it.
  if (n == 4 && tail.is_grid) tail.r_flag = true;

  bool p1 = w1[0] != '<' && w1.ends_with("/P");
  bool p2 = w2[0] != '<' && w2.ends_with("/P");
  bool r1 = w1[0] != '<' && w1.ends_with("/R");
  bool r2 = w2[0] != '<' && w2.ends_with("/R");
  int i3 = (p1 || p2) ? 2 : 1;
  long g15 = tail.is_grid ? tail.irpt : kGridLimit + tail.irpt;
  // Out-of-range reports overflow the 15-bit field; the reference then
  // writes asterisks into the payload and sends garbage.
  if (g15 < 0 || g15 >= kG15Limit) return Attempt::refused("report out of range");

  PayloadBits bits;
  put_bits(bits, pack28(packed_form(w1), book), 28);
  put_bits(bits, (p1 || r1) ? 1 : 0, 1);
  put_bits(bits, pack28(packed_form(w2), book), 28);
  put_bits(bits, (p2 || r2) ? 1 : 0, 1);
  put_bits(bits, tail.r_flag ? 1 : 0, 1);
  put_bits(bits, static_cast<std::uint64_t>(g15), 15);
  return Attempt::packed(finish(bits, i3));
}

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
