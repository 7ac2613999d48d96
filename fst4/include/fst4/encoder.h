// Public interface of the FST4 / FST4W channel-symbol encoder.
//
// One call turns a message text into the 160 channel symbols a transmitter
// sends, or refuses the message with a reason. No exceptions are thrown.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fst4 {

// Sizes of one transmission (WSJT-X 2.6.1, lib/fst4/fst4_params.f90 and
// lib/fst4/genfst4.f90). Every part of this library and our FST4SIM.EXE
// takes them from here.
//   FST4:  77 payload bits, scrambled, + CRC-24 = 101 information bits
//   FST4W: the first 50 payload bits + CRC-24   =  74 information bits
//   either word + LDPC parity = 240 bits = 120 four-level data symbols,
//   sent with five 8-symbol sync words: 160 channel symbols.
inline constexpr std::size_t kPayloadBits = 77;
inline constexpr std::size_t kFst4wPayloadBits = 50;
inline constexpr std::size_t kCrcBits = 24;
inline constexpr std::size_t kInfoBits = kPayloadBits + kCrcBits;
inline constexpr std::size_t kFst4wInfoBits = kFst4wPayloadBits + kCrcBits;
inline constexpr std::size_t kCodewordBits = 240;
inline constexpr std::size_t kChannelSymbols = 160;
// Longest message the 77-bit payload is packed from (a Fortran character*37
// field in the reference simulator; longer input is cut to this length).
inline constexpr std::size_t kMaxMessageLength = 37;

enum class Mode { fst4, fst4w };

struct Encoding {
  // Each symbol is a tone number 0..3.
  std::array<std::uint8_t, kChannelSymbols> symbols{};
  // The text a receiver decodes from these symbols.
  std::string decoded;
  // Message type "i3.n3" of the 77-bit payload (n3 is only meaningful for
  // i3 = 0; it is reported as 0 otherwise).
  int i3 = 0;
  int n3 = 0;
  Mode mode = Mode::fst4;
  // The kPayloadBits payload bits as '0'/'1', before scrambling.
  std::string payload_bits;
  // The information word as '0'/'1': kInfoBits for FST4 (scrambled payload
  // + CRC-24), kFst4wInfoBits for FST4W (50 payload bits + CRC-24).
  std::string info_bits;
};

struct EncodeResult {
  std::optional<Encoding> encoding;
  // Why the message was refused; empty when `encoding` holds a value.
  std::string refusal;

  [[nodiscard]] bool ok() const { return encoding.has_value(); }
};

// Encodes `message`. `wspr_hint` allows the FST4W type-3 form
// ("<CALL> GRID") that is otherwise packed as an FST4 message.
[[nodiscard]] EncodeResult encode(std::string_view message, bool wspr_hint);

}  // namespace fst4
