// Message text to 77-bit payload and back, choosing the message type in the
// same order as the reference packer.
#pragma once

#include <optional>
#include <string_view>

#include "payload.h"

namespace fst4::detail {

Attempt pack77(std::string_view message, bool wspr_hint, HashBook& book);
std::optional<Text> unpack77(BitView payload, const HashBook& book);

}  // namespace fst4::detail
