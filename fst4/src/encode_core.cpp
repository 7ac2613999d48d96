// The heap-free encoder and its public entry, kept apart from the entry that
// returns strings so that firmware linking only this one links no allocator.
#include "encode_core.h"

#include <algorithm>

#include "frame.h"
#include "pack77.h"

namespace fst4 {

namespace detail {

namespace {

// The message field is 37 characters; NULs count as blanks. Leading blanks
// are skipped. (The reference's own strip loop removes 1, 2, 3... characters
// on successive passes and so eats real characters for most blank counts;
// skipping exactly the blanks is what it means to do.)
using Field = FixedString<kMaxMessageLength>;

std::string_view prepare(std::string_view message, Field& field) {
  for (char c : slice(message, 0, kMaxMessageLength)) field.append(c == '\0' ? ' ' : c);
  std::string_view text = field;
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return text;
}

}  // namespace

const char* encode_into(std::string_view message, bool wspr_hint, Encoded& out) {
  Field field;
  HashBook book;
  Attempt attempt = pack77(prepare(message, field), wspr_hint, book);
  if (attempt.kind == Attempt::Kind::refused) return attempt.reason;
  out.payload = attempt.payload;
  // A payload that does not decode would be sent as noise; the reference
  // prints "*** bad message ***" and garbage symbols in that case.
  auto decoded = unpack77(out.payload.bits, book);
  if (!decoded) return "message cannot be encoded (it would not decode)";
  // All-zero telemetry (and a few malformed exchanges) decode as nothing at
  // all; the reference sends them anyway, we do not.
  if (decoded->empty()) return "message would decode as empty text";
  if (decoded->overflowed()) return "message cannot be encoded (its decoded text is too long)";
  out.decoded = *decoded;
  out.fst4w = out.payload.i3 == 0 && out.payload.n3 == 6;
  out.info = information_word(out.payload.bits, out.fst4w);
  out.symbols = channel_symbols(out.info);
  return nullptr;
}

}  // namespace detail

namespace {

SymbolsResult encode_to(std::string_view message, bool wspr_hint, std::uint8_t* symbols) {
  detail::Encoded encoded;
  SymbolsResult result;
  result.refusal = detail::encode_into(message, wspr_hint, encoded);
  if (!result.ok()) return result;
  std::copy(encoded.symbols.begin(), encoded.symbols.end(), symbols);
  result.i3 = encoded.payload.i3;
  result.n3 = encoded.payload.n3;
  result.mode = encoded.fst4w ? Mode::fst4w : Mode::fst4;
  return result;
}

}  // namespace

SymbolsResult encode_symbols(std::string_view message, bool wspr_hint, Symbols& symbols) noexcept {
  return encode_to(message, wspr_hint, symbols.data());
}

SymbolsResult encode_symbols(std::string_view message, bool wspr_hint,
                             std::uint8_t (&symbols)[kChannelSymbols]) noexcept {
  return encode_to(message, wspr_hint, symbols);
}

}  // namespace fst4
