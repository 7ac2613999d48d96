#include "payload.h"

#include <cstdlib>

namespace fst4::detail {

namespace {

constexpr long kGridSquares = 18L * 18 * 100;  // 32400 grid4 values

}  // namespace

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
