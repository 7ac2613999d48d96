#include "fst4/encoder.h"

#include "frame.h"
#include "ldpc.h"
#include "pack77.h"

namespace fst4 {

namespace {

// The message field is 37 characters; NULs count as blanks. Leading blanks
// are skipped. (The reference's own strip loop removes 1, 2, 3... characters
// on successive passes and so eats real characters for most blank counts;
// skipping exactly the blanks is what it means to do.)
std::string prepare(std::string_view message) {
  std::string text(message.substr(0, kMaxMessageLength));
  for (char& c : text) {
    if (c == '\0') c = ' ';
  }
  text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
  return text;
}

EncodeResult refuse(std::string reason) { return EncodeResult{std::nullopt, std::move(reason)}; }

}  // namespace

EncodeResult encode(std::string_view message, bool wspr_hint) {
  using namespace detail;
  std::string text = prepare(message);
  HashBook book;
  Attempt attempt = pack77(text, wspr_hint, book);
  if (attempt.kind == Attempt::Kind::refused) return refuse(attempt.reason);
  const Payload& payload = attempt.payload;
  // A payload that does not decode would be sent as noise; the reference
  // prints "*** bad message ***" and garbage symbols in that case.
  auto decoded = unpack77(payload.bits, book);
  if (!decoded) return refuse("message cannot be encoded (it would not decode)");
  // All-zero telemetry (and a few malformed exchanges) decode as nothing at
  // all; the reference sends them anyway, we do not.
  if (decoded->empty()) return refuse("message would decode as empty text");

  bool fst4w = payload.i3 == 0 && payload.n3 == 6;
  Bits info = information_word(payload.bits, fst4w);
  Symbols symbols = channel_symbols(ldpc_encode(info));

  Encoding encoding;
  std::copy(symbols.begin(), symbols.end(), encoding.symbols.begin());
  encoding.decoded = *decoded;
  encoding.i3 = payload.i3;
  encoding.n3 = payload.n3;
  encoding.mode = fst4w ? Mode::fst4w : Mode::fst4;
  encoding.payload_bits = to_string(payload.bits);
  encoding.info_bits = to_string(info);
  return EncodeResult{std::move(encoding), {}};
}

}  // namespace fst4
