// Every row of reference_vectors.tsv (made by make_vectors.py from WSJT-X's
// fst4sim) must come out of our encoder with the same symbols, decoded
// message and message bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fst4/encoder.h"
#include "vectors.h"

namespace {

struct Vector {
  std::string message;
  bool hint = false;
  std::string symbols;
  std::string decoded;
  std::string bits_line;
};

std::vector<Vector> load_vectors() {
  std::vector<Vector> rows;
  for (const auto& f : fst4_test::read_tsv(FST4_VECTORS_FILE)) {
    if (f.size() != 5) {
      ADD_FAILURE() << "malformed vector row starting " << (f.empty() ? "" : f[0]);
      continue;
    }
    rows.push_back({f[0], f[1] == "T", f[2], f[3], f[4]});
  }
  return rows;
}

std::string symbol_text(const fst4::Encoding& encoding) {
  std::string text;
  for (auto s : encoding.symbols) text += static_cast<char>('0' + s);
  return text;
}

// The reference prints the info bits either as 77 + 24 bits, or for type 1
// as the groups 28 1 28 1 1 15 3 (payload only); compare without blanks.
std::string reported_bits(const fst4::Encoding& encoding, std::size_t length) {
  std::string info = encoding.info_bits;
  info.resize(101, '0');
  return info.substr(0, length);
}

std::string without_blanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

TEST(ReferenceVectors, CoverEveryMessageType) {
  auto rows = load_vectors();
  ASSERT_GE(rows.size(), 300U);
  std::vector<std::string> kinds;
  for (const auto& row : rows) {
    auto result = fst4::encode(row.message, row.hint);
    if (!result.ok()) continue;
    const auto& e = *result.encoding;
    std::string kind = std::to_string(e.i3);
    if (e.i3 == 0) {
      kind += '.';
      kind += std::to_string(e.n3);
    }
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
  }
  for (const char* kind : {"0.0", "0.1", "0.3", "0.4", "0.5", "0.6", "1", "2", "3", "4", "5"}) {
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kind), kinds.end()) << "no vector of type " << kind;
  }
}

TEST(ReferenceVectors, SymbolsDecodedTextAndBitsMatch) {
  int checked = 0;
  for (const auto& row : load_vectors()) {
    SCOPED_TRACE("message \"" + row.message + "\" W=" + (row.hint ? "T" : "F"));
    auto result = fst4::encode(row.message, row.hint);
    ASSERT_TRUE(result.ok()) << result.refusal;
    const auto& e = *result.encoding;
    EXPECT_EQ(symbol_text(e), row.symbols);
    // The reference's Message: field holds 37 characters.
    EXPECT_EQ(e.decoded.substr(0, 37), row.decoded);
    std::string expected_bits = without_blanks(row.bits_line);
    EXPECT_EQ(reported_bits(e, expected_bits.size()), expected_bits);
    ++checked;
  }
  EXPECT_GE(checked, 300);
}

}  // namespace
