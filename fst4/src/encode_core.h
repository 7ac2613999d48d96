// The one encoder behind both public entries: message text to payload,
// decoded text, information word and channel symbols, without the heap.
#pragma once

#include <string_view>

#include "bits.h"
#include "fst4/encoder.h"
#include "payload.h"

namespace fst4::detail {

// Everything one encoding produces.
struct Encoded {
  Payload payload;
  InfoBits info;
  Text decoded;
  Symbols symbols{};
  bool fst4w = false;
  bool other_text = false;  // the core's FST4_OTHER_TEXT
};

// Fills `out` and returns nullptr, or returns why the message is refused
// (a static text).
const char* encode_into(std::string_view message, bool wspr_hint, Encoded& out);

}  // namespace fst4::detail
