#include "payload.h"

#include <cstdlib>

namespace fst4::detail {

namespace {

constexpr long kGridSquares = 18L * 18 * 100;  // 32400 grid4 values

}  // namespace

Payload finish_type0(const PayloadBits& bits, int n3) {
  Payload payload{bits, 0, n3};
  put_bits(payload.bits, static_cast<std::uint64_t>(n3), kN3Bits);
  put_bits(payload.bits, 0, kI3Bits);
  return payload;
}

Payload finish(const PayloadBits& bits, int i3) {
  Payload payload{bits, i3, 0};
  put_bits(payload.bits, static_cast<std::uint64_t>(i3), kI3Bits);
  return payload;
}

FixedString<3> signed_report(long value) {
  auto magnitude = static_cast<unsigned long long>(std::labs(value));
  FixedString<3> text;
  if (value < 0 ? magnitude > 99 : magnitude > 999) return text.append("***");
  if (value < 0) {
    text.append('-');
  } else if (magnitude < 100) {
    text.append('+');
  }
  return append_decimal(text, magnitude, 2);
}

long grid4_value(std::string_view grid) {
  return ((grid[0] - 'A') * 18L + (grid[1] - 'A')) * 100 + (grid[2] - '0') * 10 + (grid[3] - '0');
}

FixedString<4> grid4_text(long value) {
  if (value < 0 || value >= kGridSquares) return {};
  FixedString<4> grid(4, ' ');
  grid[3] = static_cast<char>('0' + value % 10);
  grid[2] = static_cast<char>('0' + value / 10 % 10);
  long field = value / 100;
  grid[1] = static_cast<char>('A' + field % 18);
  grid[0] = static_cast<char>('A' + field / 18);
  return grid;
}

}  // namespace fst4::detail
