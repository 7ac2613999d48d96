// Callsign fields: the 28-bit call field c28, the callsign hashes and the
// table of calls seen while packing (used to show hashed calls when decoding).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text.h"

namespace fst4::detail {

// c28 value ranges (WSJT-X 2.6.1, lib/77bit/packjt77.f90, pack28):
//   0 DE, 1 QRZ, 2 CQ, 3..1002 "CQ nnn", 1003.. "CQ abcd",
//   kTokens + h22 for hashed calls, kTokens + kMax22 + s for standard calls.
inline constexpr std::int64_t kTokens = 2063592;
inline constexpr std::int64_t kMax22 = 4194304;  // 2^22
inline constexpr std::int64_t kCqNumberBase = 3;
inline constexpr std::int64_t kCqLettersBase = 1003;
inline constexpr std::int64_t kCqLettersCount = 27 * 27 * 27 * 27;

// Alphabet of hashed and 58-bit calls: blank, digits, letters, '/'.
inline constexpr std::string_view kCallAlphabet38 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/";

// A call as decoded: a standard call, a CQ token, or a hashed call shown in
// angle brackets (calls come from words, so at most kMaxWordLength + 2).
inline constexpr std::size_t kMaxShownCall = kMaxWordLength + 2;
using CallText = FixedString<kMaxShownCall>;

// 10-, 12- or 22-bit hash of a call (without angle brackets).
std::uint32_t hash_call(std::string_view call, int bits);

// Calls seen while packing one message, so that decoding can show hashed
// calls in full (the reference shows "<...>" for an unknown hash).
class HashBook {
 public:
  // One message saves at most three calls (a DXpedition message); when the
  // book is full the oldest call makes room.
  static constexpr std::size_t kCapacity = 4;

  // Stores a call; angle brackets around it are removed.
  void save(std::string_view call);
  // "<CALL>" for a known hash, "<...>" otherwise.
  [[nodiscard]] CallText show(std::uint32_t hash, int bits) const;

 private:
  std::array<Word, kCapacity> calls_{};
  std::size_t count_ = 0;
};

// Packs a call word (or a CQ/DE/QRZ token, "<call>" or a CQ_xxx token) to
// its 28-bit field, saving hashed calls in `book`.
std::uint32_t pack28(std::string_view word, HashBook& book);

// Decodes a 28-bit call field; nothing for values no packer produces.
std::optional<CallText> unpack28(std::uint32_t n28, const HashBook& book);

// Base-38 number of a call right-aligned in 11 places (type 4's c58).
std::uint64_t pack58(std::string_view call);
CallText unpack58(std::uint64_t n58);

}  // namespace fst4::detail
