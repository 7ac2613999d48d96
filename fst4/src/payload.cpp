#include "payload.h"

#include <cstdlib>

namespace fst4::detail {

namespace {

constexpr long kGridSquares = 18L * 18 * 100;  // 32400 grid4 values

}  // namespace

Payload finish_type0(Bits bits, int n3) {
  put_bits(bits, static_cast<std::uint64_t>(n3), kN3Bits);
  put_bits(bits, 0, kI3Bits);
  return Payload{std::move(bits), 0, n3};
}

Payload finish(Bits bits, int i3) {
  put_bits(bits, static_cast<std::uint64_t>(i3), kI3Bits);
  return Payload{std::move(bits), i3, 0};
}

std::string signed_report(long value) {
  long magnitude = std::labs(value);
  std::string digits = std::to_string(magnitude);
  if (digits.size() < 2) digits = std::string(1, '0') + digits;
  if (value < 0) return digits.size() > 2 ? "***" : "-" + digits;
  if (digits.size() > 3) return "***";
  return digits.size() == 3 ? digits : "+" + digits;
}

long grid4_value(const std::string& grid) {
  return ((grid[0] - 'A') * 18L + (grid[1] - 'A')) * 100 + (grid[2] - '0') * 10 + (grid[3] - '0');
}

std::string grid4_text(long value) {
  if (value < 0 || value >= kGridSquares) return {};
  std::string grid(4, ' ');
  grid[3] = static_cast<char>('0' + value % 10);
  grid[2] = static_cast<char>('0' + value / 10 % 10);
  long field = value / 100;
  grid[1] = static_cast<char>('A' + field % 18);
  grid[0] = static_cast<char>('A' + field / 18);
  return grid;
}

}  // namespace fst4::detail
