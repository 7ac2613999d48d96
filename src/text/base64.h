// Base64 (RFC 4648, standard alphabet, '=' padding), as terminals expect the
// payload of a clipboard escape sequence.
#pragma once

#include <string>
#include <string_view>

namespace sympack::text {

std::string Base64(std::string_view bytes);

}  // namespace sympack::text
