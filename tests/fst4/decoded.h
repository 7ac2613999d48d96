// What the encoder makes of a message, as the tests compare it.
#pragma once

#include <string>

#include "fst4/encoder.h"

namespace fst4_test {

// The text the receiver would show for `message`, or "REFUSED: " and the
// reason.
inline std::string decoded(const std::string& message, bool hint = false) {
  auto result = fst4::encode(message, hint);
  return result.ok() ? result.encoding->decoded : "REFUSED: " + result.refusal;
}

}  // namespace fst4_test
