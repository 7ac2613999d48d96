#include "frame.h"

#include "crc24.h"

namespace fst4::detail {

namespace {

// Scrambling vector XORed onto the 77 FST4 payload bits before the CRC
// (WSJT-X 2.6.1, lib/fst4/genfst4.f90, rvec).
constexpr char kScrambler[] =
    "01001010010111101000100110110100101100001000101001111001010101011011111000101";

// Sync words (genfst4.f90, isyncword1 / isyncword2).
constexpr std::array<std::uint8_t, 8> kSyncA{0, 1, 3, 2, 1, 0, 2, 3};
constexpr std::array<std::uint8_t, 8> kSyncB{2, 3, 1, 0, 3, 2, 0, 1};

// Frame layout, 0-based symbol positions:
//   0..7 A | 8..37 data 0..29 | 38..45 B | 46..75 data 30..59 | 76..83 A |
//   84..113 data 60..89 | 114..121 B | 122..151 data 90..119 | 152..159 A
constexpr std::size_t kSyncLength = 8;
constexpr std::size_t kDataRun = 30;

// Gray map indexed by (high bit << 1 | low bit): 00->0, 01->1, 10->3, 11->2.
constexpr std::array<std::uint8_t, 4> kGray{0, 1, 3, 2};

void append_bits(Bits& word, const Bits& bits) { word.insert(word.end(), bits.begin(), bits.end()); }

}  // namespace

Bits information_word(const Bits& payload, bool fst4w) {
  Bits word;
  if (fst4w) {
    word.assign(payload.begin(), payload.begin() + kFst4wPayloadBits);
  } else {
    word = payload;
    for (std::size_t i = 0; i < kPayloadBits; ++i) {
      word[i] = static_cast<std::uint8_t>(word[i] ^ (kScrambler[i] == '1' ? 1 : 0));
    }
  }
  Bits crc;
  put_bits(crc, crc24(word), static_cast<int>(kCrcBits));
  append_bits(word, crc);
  return word;
}

Symbols channel_symbols(const Bits& codeword) {
  Symbols symbols{};
  std::size_t out = 0;
  std::size_t data = 0;
  auto put_sync = [&](const std::array<std::uint8_t, 8>& sync) {
    for (auto tone : sync) symbols[out++] = tone;
  };
  auto put_data = [&] {
    for (std::size_t i = 0; i < kDataRun; ++i, ++data) {
      symbols[out++] = kGray[static_cast<std::size_t>(codeword[2 * data] << 1 | codeword[2 * data + 1])];
    }
  };
  put_sync(kSyncA);
  put_data();
  put_sync(kSyncB);
  put_data();
  put_sync(kSyncA);
  put_data();
  put_sync(kSyncB);
  put_data();
  put_sync(kSyncA);
  static_assert(5 * kSyncLength + 4 * kDataRun == kChannelSymbols);
  static_assert(2 * 4 * kDataRun == kCodewordBits);
  return symbols;
}

}  // namespace fst4::detail
