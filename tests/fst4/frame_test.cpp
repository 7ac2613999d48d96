// CRC-24, the two LDPC encoders and the frame layout, checked against the
// published test vectors and the generator tables read independently here.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bits.h"
#include "crc24.h"
#include "frame.h"
#include "ldpc.h"

using namespace fst4::detail;

namespace {

// Payloads (c77) and CRC-24 values from the WSJT-X fst4sim runs recorded
// in the protocol notes: the CRC is over the scrambled bits for FST4 and
// over the first 50 bits for FST4W.
struct CrcCase {
  const char* payload;
  bool fst4w;
  std::uint32_t crc;
};
const CrcCase kCrcCases[] = {
    {"00000000000000000000000000100000010011011110111100011010100010100001100110001", false, 0xA69532},
    {"00001001101111011110001101010101000011001100101100000000000000000000000110000", true, 0x63579B},
    {"01100011111011011100111011100010101001001010111000000111111101010000000000000", false, 0xA758FA},
    {"00001001101111011110001101011000000101000000010111000000000000000000000110000", true, 0x8B1AF4},
    {"00001001101111011110001101011011011001000111010111000000000000000000000110000", true, 0xDB508D},
};

Bits random_bits(std::mt19937& rng, std::size_t n) {
  Bits bits(n);
  for (auto& b : bits) b = static_cast<std::uint8_t>(rng() & 1U);
  return bits;
}

// Long division written out over a bit vector, independent of the
// shift-register form used by the encoder.
std::uint32_t crc_by_long_division(Bits message) {
  const std::string generator = "1000000000000011001011011";  // x^24 ... x^0
  message.resize(message.size() + 24, 0);
  for (std::size_t i = 0; i + 24 < message.size(); ++i) {
    if (message[i] == 0) continue;
    for (std::size_t j = 0; j < generator.size(); ++j) message[i + j] ^= static_cast<std::uint8_t>(generator[j] - '0');
  }
  return static_cast<std::uint32_t>(get_bits(message, message.size() - 24, 24));
}

std::vector<std::string> read_rows(const std::string& name) {
  std::ifstream in(std::string(FST4_TABLES_DIR) + "/" + name);
  std::vector<std::string> rows;
  std::string line;
  while (std::getline(in, line)) rows.push_back(line);
  return rows;
}

// Column j of the generator: the parity bits produced by info bit j alone.
Bits generator_column(const std::vector<std::string>& rows, std::size_t j) {
  Bits column;
  for (const auto& row : rows) {
    int nibble = std::stoi(row.substr(j / 4, 1), nullptr, 16);
    column.push_back(static_cast<std::uint8_t>((nibble >> (3 - j % 4)) & 1));
  }
  return column;
}

}  // namespace

TEST(Crc24, MatchesReferenceValues) {
  for (const auto& c : kCrcCases) {
    Bits info = information_word(from_string(c.payload), c.fst4w);
    ASSERT_EQ(info.size(), c.fst4w ? 74U : 101U);
    EXPECT_EQ(get_bits(info, info.size() - 24, 24), c.crc) << c.payload;
    EXPECT_EQ(crc24_remainder(info), 0U) << "a word with its CRC divides to 0";
  }
}

TEST(Crc24, AgreesWithLongDivisionAndCatchesSingleBitErrors) {
  std::mt19937 rng(24);
  for (std::size_t length : {1U, 50U, 77U, 200U}) {
    Bits message = random_bits(rng, length);
    std::uint32_t crc = crc24(message);
    EXPECT_EQ(crc, crc_by_long_division(message));
    Bits word = message;
    put_bits(word, crc, 24);
    for (std::size_t i = 0; i < word.size(); ++i) {
      word[i] ^= 1;
      EXPECT_NE(crc24_remainder(word), 0U) << "flipped bit " << i;
      word[i] ^= 1;
    }
  }
  EXPECT_EQ(crc24(Bits(77, 0)), 0U);
}

TEST(Scrambler, OnlyFst4PayloadsAreScrambled) {
  Bits zero(77, 0);
  Bits fst4 = information_word(zero, false);
  EXPECT_EQ(to_string(Bits(fst4.begin(), fst4.begin() + 77)),
            "01001010010111101000100110110100101100001000101001111001010101011011111000101");
  Bits fst4w = information_word(zero, true);
  EXPECT_EQ(to_string(fst4w), std::string(74, '0'));
}

// Parameter: the number of information bits, 101 (FST4) or 74 (FST4W).
class LdpcCode : public ::testing::TestWithParam<std::size_t> {
 protected:
  static std::string table_name(std::size_t k) { return "ldpc_240_" + std::to_string(k) + "_generator.hex"; }
};

TEST_P(LdpcCode, IsSystematicAndEachInfoBitAddsItsGeneratorColumn) {
  const std::size_t k = GetParam();
  auto rows = read_rows(table_name(k));
  ASSERT_EQ(rows.size(), 240 - k);
  for (std::size_t j = 0; j < k; ++j) {
    Bits unit(k, 0);
    unit[j] = 1;
    Bits codeword = ldpc_encode(unit);
    ASSERT_EQ(codeword.size(), 240U);
    EXPECT_EQ(Bits(codeword.begin(), codeword.begin() + static_cast<long>(k)), unit);
    EXPECT_EQ(Bits(codeword.begin() + static_cast<long>(k), codeword.end()), generator_column(rows, j)) << "info bit " << j;
  }
}

TEST_P(LdpcCode, IsLinear) {
  const std::size_t k = GetParam();
  std::mt19937 rng(static_cast<unsigned>(k));
  for (int trial = 0; trial < 20; ++trial) {
    Bits a = random_bits(rng, k);
    Bits b = random_bits(rng, k);
    Bits sum(k);
    for (std::size_t i = 0; i < k; ++i) sum[i] = a[i] ^ b[i];
    Bits ca = ldpc_encode(a);
    Bits cb = ldpc_encode(b);
    Bits cs = ldpc_encode(sum);
    for (std::size_t i = 0; i < 240; ++i) ASSERT_EQ(cs[i], ca[i] ^ cb[i]) << "k=" << k << " bit " << i;
  }
  EXPECT_EQ(ldpc_encode(Bits(k, 0)), Bits(240, 0));
}

INSTANTIATE_TEST_SUITE_P(Fst4AndFst4w, LdpcCode,
                         ::testing::Values(std::size_t{101}, std::size_t{74}),
                         [](const ::testing::TestParamInfo<std::size_t>& param) { return "Info" + std::to_string(param.param); });

TEST(Ldpc, RejectsOtherLengths) {
  EXPECT_TRUE(ldpc_encode(Bits(77, 0)).empty());
  EXPECT_TRUE(ldpc_encode(Bits(102, 0)).empty());
}

TEST(Frame, SyncBlocksAndGrayMap) {
  // The code is systematic, so the first 50 data symbols carry the
  // information bits: pairs 00, 01, 11, 10 repeated give tones 0, 1, 2, 3.
  Bits info;
  for (int i = 0; i < 13; ++i) info.insert(info.end(), {0, 0, 0, 1, 1, 1, 1, 0});
  info.resize(101);
  Symbols s = channel_symbols(info);
  const std::vector<std::uint8_t> a{0, 1, 3, 2, 1, 0, 2, 3};
  const std::vector<std::uint8_t> b{2, 3, 1, 0, 3, 2, 0, 1};
  auto block = [&](std::size_t start) { return std::vector<std::uint8_t>(s.begin() + static_cast<long>(start), s.begin() + static_cast<long>(start) + 8); };
  EXPECT_EQ(block(0), a);
  EXPECT_EQ(block(38), b);
  EXPECT_EQ(block(76), a);
  EXPECT_EQ(block(114), b);
  EXPECT_EQ(block(152), a);
  std::vector<std::uint8_t> data;
  for (std::size_t start : {8U, 46U, 84U, 122U}) data.insert(data.end(), s.begin() + static_cast<long>(start), s.begin() + static_cast<long>(start) + 30);
  for (std::size_t i = 0; i < 50; ++i) ASSERT_EQ(data[i], i % 4) << "data symbol " << i;
}
