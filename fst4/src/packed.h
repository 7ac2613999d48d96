// Between the C++ layer's bit strings (one element per bit) and the core's
// packed bytes (fst4/core, MSB first).
#pragma once

#include <cstddef>
#include <cstdint>

#include "bits.h"

namespace fst4::detail {

template <std::size_t Bytes>
void pack_into(BitView bits, std::uint8_t (&out)[Bytes]) {
  for (auto& byte : out) byte = 0;
  for (std::size_t i = 0; i < bits.size() && i < 8 * Bytes; ++i) {
    if (bits[i] != 0) out[i / 8] = static_cast<std::uint8_t>(out[i / 8] | (0x80U >> (i % 8)));
  }
}

template <std::size_t Capacity>
void unpack_from(const std::uint8_t* bytes, std::size_t count, FixedVector<std::uint8_t, Capacity>& out) {
  for (std::size_t i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>((bytes[i / 8] >> (7 - i % 8)) & 1U));
}

}  // namespace fst4::detail
