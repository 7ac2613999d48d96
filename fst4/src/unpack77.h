// The text a 77-bit payload decodes to, by its message type.
#pragma once

#include <optional>
#include <string_view>

#include "payload.h"

namespace fst4::detail {

std::optional<Text> unpack77(BitView payload, const HashBook& book);

}  // namespace fst4::detail
