// The entry that also gives the decoded text and the message bits, as
// strings (FST4SIM.EXE prints them), on top of the heap-free encoder.
#include "fst4/encoder.h"

#include "encode_core.h"

namespace fst4 {

EncodeResult encode(std::string_view message, bool wspr_hint) {
  detail::Encoded encoded;
  if (const char* refusal = detail::encode_into(message, wspr_hint, encoded)) {
    return EncodeResult{std::nullopt, refusal};
  }
  Encoding encoding;
  encoding.symbols = encoded.symbols;
  encoding.decoded = std::string(encoded.decoded.view());
  encoding.i3 = encoded.payload.i3;
  encoding.n3 = encoded.payload.n3;
  encoding.mode = encoded.fst4w ? Mode::fst4w : Mode::fst4;
  encoding.other_text = encoded.other_text;
  encoding.payload_bits = detail::to_string(encoded.payload.bits);
  encoding.info_bits = detail::to_string(encoded.info);
  return EncodeResult{std::move(encoding), {}};
}

}  // namespace fst4
