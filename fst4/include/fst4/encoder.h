// Public interface of the FST4 / FST4W channel-symbol encoder.
//
// One call turns a message text into the 160 channel symbols a transmitter
// sends, or refuses the message with a reason (among them a report beyond
// the field, which the receiver would read as another); `other_text` says
// when the symbols carry another text than the one typed. No exceptions are thrown.
// `encode_symbols` does it without allocating memory at all, for firmware
// without a heap; `encode` also gives the decoded text and the message bits.
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

// Each symbol is a tone number 0..3.
using Symbols = std::array<std::uint8_t, kChannelSymbols>;

struct SymbolsResult {
  // nullptr when the symbols were written; otherwise why the message was
  // refused, a static text (the symbols are then left as they were).
  const char* refusal = nullptr;
  // Message type "i3.n3" and mode, as in `Encoding`.
  int i3 = 0;
  int n3 = 0;
  Mode mode = Mode::fst4;
  // As in `Encoding`.
  bool other_text = false;

  [[nodiscard]] bool ok() const { return refusal == nullptr; }
};

// Encodes `message` into `symbols` without touching the heap: its working
// buffers are on the stack (about 2 KiB at the deepest, on a Cortex-M0+).
// `wspr_hint` as in `encode`, which gives the same symbols or refusal.
[[nodiscard]] SymbolsResult encode_symbols(std::string_view message, bool wspr_hint, Symbols& symbols) noexcept;
// The same for a plain array, as beacon sketches keep their tones.
[[nodiscard]] SymbolsResult encode_symbols(std::string_view message, bool wspr_hint,
                                           std::uint8_t (&symbols)[kChannelSymbols]) noexcept;

struct Encoding {
  Symbols symbols{};
  // The text a receiver decodes from these symbols.
  std::string decoded;
  // True when that text is another than the message as typed (letter case,
  // blanks and the protocol's own spellings aside: a report "-5" shown as
  // "-05", a number without its leading zeros, a hashed call in <>): free
  // text cut to 13 characters, a power or report rounded, a serial clipped,
  // a call's prefix or a word the message type has no room for left out.
  // The symbols are those the reference sends; whether to send them is the
  // caller's choice. (The C API's FST4_OTHER_TEXT.)
  bool other_text = false;
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
// ("<CALL> GRID") that is otherwise packed as an FST4 message. The result's
// strings are allocated; firmware without a heap uses `encode_symbols`.
[[nodiscard]] EncodeResult encode(std::string_view message, bool wspr_hint);

}  // namespace fst4
