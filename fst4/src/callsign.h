// Callsign fields: the 28-bit call field c28, the callsign hashes and the
// table of calls seen while packing (used to show hashed calls when decoding).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// 10-, 12- or 22-bit hash of a call (without angle brackets).
std::uint32_t hash_call(std::string_view call, int bits);

// Calls seen while packing one message, so that decoding can show hashed
// calls in full (the reference shows "<...>" for an unknown hash).
class HashBook {
 public:
  // Stores a call; angle brackets around it are removed.
  void save(std::string_view call);
  // "<CALL>" for a known hash, "<...>" otherwise.
  [[nodiscard]] std::string show(std::uint32_t hash, int bits) const;

 private:
  std::vector<std::string> calls_;
};

// Packs a call word (or a CQ/DE/QRZ token, "<call>" or a CQ_xxx token) to
// its 28-bit field, saving hashed calls in `book`.
std::uint32_t pack28(std::string_view word, HashBook& book);

// Decodes a 28-bit call field; nothing for values no packer produces.
std::optional<std::string> unpack28(std::uint32_t n28, const HashBook& book);

// Base-38 number of a call right-aligned in 11 places (type 4's c58).
std::uint64_t pack58(std::string_view call);
std::string unpack58(std::uint64_t n58);

}  // namespace fst4::detail
