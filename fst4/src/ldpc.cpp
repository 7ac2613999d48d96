#include "ldpc.h"

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "ldpc_tables.h"

namespace fst4::detail {

namespace {

// Up to kInfoBits information bits, held in two 64-bit words: bit j (0-based) of
// the word sits in words[j / 64] at bit position 63 - j % 64.
using Packed = std::array<std::uint64_t, 2>;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

void set_bit(Packed& packed, std::size_t j) {
  packed[j / 64] |= std::uint64_t{1} << (63 - j % 64);
}

Packed parse_row(const char* row, std::size_t info_bits) {
  Packed packed{};
  for (std::size_t j = 0; j < info_bits; ++j) {
    int nibble = hex_value(row[j / 4]);
    if ((nibble >> (3 - j % 4)) & 1) set_bit(packed, j);
  }
  return packed;
}

struct Code {
  std::size_t info_bits;
  std::vector<Packed> rows;
};

Code make_code(const char* const* table, std::size_t rows, std::size_t info_bits) {
  Code code{info_bits, {}};
  code.rows.reserve(rows);
  for (std::size_t i = 0; i < rows; ++i) code.rows.push_back(parse_row(table[i], info_bits));
  return code;
}

const Code& code_for(std::size_t info_bits) {
  static const Code code101 = make_code(kGenerator101, kParity101, kInfoBits);
  static const Code code74 = make_code(kGenerator74, kParity74, kFst4wInfoBits);
  return info_bits == kInfoBits ? code101 : code74;
}

}  // namespace

Bits ldpc_encode(const Bits& info) {
  if (info.size() != kInfoBits && info.size() != kFst4wInfoBits) return {};
  const Code& code = code_for(info.size());
  Packed word{};
  for (std::size_t j = 0; j < info.size(); ++j) {
    if (info[j] != 0) set_bit(word, j);
  }
  Bits codeword = info;
  codeword.reserve(kCodewordBits);
  for (const Packed& row : code.rows) {
    int ones = std::popcount(row[0] & word[0]) + std::popcount(row[1] & word[1]);
    codeword.push_back(static_cast<std::uint8_t>(ones & 1));
  }
  return codeword;
}

}  // namespace fst4::detail
