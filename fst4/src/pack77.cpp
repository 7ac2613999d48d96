#include "pack77.h"

namespace fst4::detail {

namespace {

bool decided(const Attempt& attempt) { return attempt.kind != Attempt::Kind::no_match; }

}  // namespace

// Order of attempts (WSJT-X 2.6.1, lib/77bit/packjt77.f90, pack77): messages
// starting with CQ, DE or QRZ skip the DXpedition, Field Day and telemetry
// forms; telemetry is only tried for a single word; the first type that
// accepts the message wins, and free text takes the rest.
Attempt pack77(std::string_view message, bool wspr_hint, HashBook& book) {
  Words words = split_message(message);
  if (!carried_by_some_type(words.text)) {
    return Attempt::refused("the message has a character no message type carries (only letters, digits, blanks "
                            "and + - . / ? < > ;)");
  }
  // The reference compares the blank-padded message field, so a lone "CQ",
  // "DE" or "QRZ" counts as well.
  FixedString<kMaxMessageLength + 1> text;
  append_all(text, words.text, ' ');
  bool addressed = text.view().starts_with("CQ ") || text.view().starts_with("DE ") || text.view().starts_with("QRZ ");
  if (!addressed) {
    if (auto a = pack_dxpedition(words, book); decided(a)) return a;
    if (auto a = pack_field_day(words, book); decided(a)) return a;
    if (words.count() == 1) {
      if (auto a = pack_telemetry(words); decided(a)) return a;
    }
  }
  if (auto a = pack_wspr(words, book, wspr_hint); decided(a)) return a;
  if (auto a = pack_standard(words, book); decided(a)) return a;
  if (auto a = pack_rtty(words, book); decided(a)) return a;
  if (auto a = pack_nonstandard(words, book); decided(a)) return a;
  if (auto a = pack_eu_vhf(words, book); decided(a)) return a;
  return pack_free_text(words);
}

std::optional<Text> unpack77(BitView payload, const HashBook& book) {
  auto i3 = static_cast<int>(get_bits(payload, kI3Position, kI3Bits));
  auto n3 = static_cast<int>(get_bits(payload, kN3Position, kN3Bits));
  switch (i3) {
    case 0:
      switch (n3) {
        case 0: return unpack_free_text(payload);
        case 1: return unpack_dxpedition(payload, book);
        case 3:
        case 4: return unpack_field_day(payload, n3, book);
        case 5: return unpack_telemetry(payload);
        case 6: return unpack_wspr(payload, book);
        default: return std::nullopt;  // 0.2 and 0.7 are not defined
      }
    case 1:
    case 2: return unpack_standard(payload, i3, book);
    case 3: return unpack_rtty(payload, book);
    case 4: return unpack_nonstandard(payload, book);
    case 5: return unpack_eu_vhf(payload, book);
    default: return std::nullopt;  // types 6 and 7 are not defined
  }
}

}  // namespace fst4::detail
