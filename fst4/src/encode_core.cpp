// The heap-free encoder and its public entry, kept apart from the entry that
// returns strings so that firmware linking only this one links no allocator.
#include "encode_core.h"

#include <algorithm>

#include <fst4/fst4.h>

#include "frame.h"
#include "fst4_words.h"
#include "unpack77.h"
#include "packed.h"

namespace fst4 {

namespace detail {

namespace {

// Calls the decoded text may show in full for a hashed call: every word
// that can be a call (and the base call of a compound one), and the calls
// in angle brackets last, so that where two share a hash the bracketed one
// is shown, as the reference's own table does.
HashBook calls_of(std::string_view message) {
  fst4_words words;
  fst4_split(message.data(), std::min(message.size(), kMaxMessageLength), &words);
  auto view = [](fst4_span span) { return std::string_view(span.text, span.length); };
  HashBook book;
  for (unsigned n = 0; n < words.count; ++n) {
    fst4_span word = words.word[n];
    fst4_span base = fst4_base_call(word, 1);
    if (base.length != 0 && base.length != word.length) book.save(view(base));
    if (base.length != 0 || view(word).starts_with("CQ_")) book.save(view(word));
  }
  for (unsigned n = 0; n < words.count; ++n) {
    fst4_span call = fst4_bracketed(words.word[n]);
    if (call.length != 0) book.save(view(call));
  }
  return book;
}

}  // namespace

// The payload is the core's (fst4/core/fst4_pack77.c), one packer for hosts
// and microcontrollers; decoding it back here gives the decoded text and
// checks the payload once more before anything is sent.
const char* encode_into(std::string_view message, bool wspr_hint, Encoded& out) {
  std::uint8_t packed[FST4_PAYLOAD_BYTES];
  std::uint8_t i3 = 0;
  std::uint8_t n3 = 0;
  auto status = fst4_pack77(message.data(), message.size(), wspr_hint ? 1 : 0, packed, &i3, &n3);
  if (status != FST4_OK && status != FST4_OTHER_TEXT) return fst4_status_text(status);
  out.payload = Payload{};
  unpack_from(packed, kPayloadBits, out.payload.bits);
  out.payload.i3 = i3;
  out.payload.n3 = n3;
  // A payload that does not decode would be sent as noise; the reference
  // prints "*** bad message ***" and garbage symbols in that case.
  auto decoded = unpack77(out.payload.bits, calls_of(message));
  if (!decoded) return "message cannot be encoded (it would not decode)";
  // All-zero telemetry (and a few malformed exchanges) decode as nothing at
  // all; the reference sends them anyway, we do not.
  if (decoded->empty()) return "message would decode as empty text";
  if (decoded->overflowed()) return "message cannot be encoded (its decoded text is too long)";
  out.decoded = *decoded;
  out.other_text = status == FST4_OTHER_TEXT;
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
  result.other_text = encoded.other_text;
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
