// Decoding callsign fields: the 28-bit call field c28 and the 58-bit call,
// and the table of calls in the message that shows hashed calls in full.
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
inline constexpr std::int64_t kCqLettersCount = 27LL * 27 * 27 * 27;

// Alphabet of hashed and 58-bit calls: blank, digits, letters, '/'.
inline constexpr std::string_view kCallAlphabet38 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/";

// A call as decoded: a standard call, a CQ token, or a hashed call shown in
// angle brackets (calls come from words, so at most kMaxWordLength + 2).
inline constexpr std::size_t kMaxShownCall = kMaxWordLength + 2;
using CallText = FixedString<kMaxShownCall>;

// 10-, 12- or 22-bit hash of a call (without angle brackets).
std::uint32_t hash_call(std::string_view call, int bits);

// Calls of the message being encoded, so that decoding can show hashed
// calls in full (the reference shows "<...>" for an unknown hash).
class HashBook {
 public:
  // Every word of a 37-character message that can be a call, and the base
  // calls of compound ones, fit; were the book full, the oldest call would
  // make room.
  static constexpr std::size_t kCapacity = 12;

  // Stores a call; angle brackets around it are removed.
  void save(std::string_view call);
  // "<CALL>" for a known hash, "<...>" otherwise.
  [[nodiscard]] CallText show(std::uint32_t hash, int bits) const;

 private:
  std::array<Word, kCapacity> calls_{};
  std::size_t count_ = 0;
};

// Decodes a 28-bit call field; nothing for values no packer produces.
std::optional<CallText> unpack28(std::uint32_t n28, const HashBook& book);

// Type 4's 58-bit call: base 38, right-aligned in 11 places.
CallText unpack58(std::uint64_t n58);

}  // namespace fst4::detail
