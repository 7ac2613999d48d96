#include "crc24.h"

namespace fst4::detail {

namespace {

constexpr std::uint32_t kTopBit = 1U << kCrcBits;

std::uint32_t shift_in(std::uint32_t reg, std::uint8_t bit) {
  reg = (reg << 1) | bit;
  if ((reg & kTopBit) != 0) reg ^= kCrc24Polynomial;
  return reg;
}

}  // namespace

std::uint32_t crc24(const Bits& message) {
  std::uint32_t reg = 0;
  for (auto bit : message) reg = shift_in(reg, bit);
  for (std::size_t i = 0; i < kCrcBits; ++i) reg = shift_in(reg, 0);
  return reg;
}

std::uint32_t crc24_remainder(const Bits& word) {
  std::uint32_t reg = 0;
  for (auto bit : word) reg = shift_in(reg, bit);
  return reg;
}

}  // namespace fst4::detail
