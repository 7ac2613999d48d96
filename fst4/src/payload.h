// The 77-bit message payload and the interface of the per-type packers.
//
// Every packer tries one message type. It either does not apply (the next
// type is tried), packs the message, or refuses it because the reference
// encoder would send something other than the message (see each packer).
#pragma once

#include <optional>
#include <string_view>

#include "bits.h"
#include "callsign.h"
#include "fst4/encoder.h"
#include "text.h"

namespace fst4::detail {

// The message type sits at the payload's end: i3 in the last 3 bits, and
// for i3 = 0 the subtype n3 in the 3 before.
inline constexpr int kI3Bits = 3;
inline constexpr int kN3Bits = 3;
inline constexpr std::size_t kI3Position = kPayloadBits - kI3Bits;
inline constexpr std::size_t kN3Position = kI3Position - kN3Bits;

// Longest text a payload decodes to: a DXpedition message whose three calls
// are all shown in full, "<call> RR73; <call> <call> -30" (57 characters).
inline constexpr std::size_t kMaxDecodedLength = 64;
using Text = FixedString<kMaxDecodedLength>;

struct Payload {
  PayloadBits bits;  // kPayloadBits bits; i3 is always the last 3, n3 (for i3 = 0) the 3 before
  int i3 = 0;
  int n3 = 0;
};

struct Attempt {
  enum class Kind { no_match, packed, refused };
  Kind kind = Kind::no_match;
  Payload payload;
  const char* reason = "";  // a static text

  static Attempt none() { return {}; }
  static Attempt packed(const Payload& payload) { return {Kind::packed, payload, ""}; }
  static Attempt refused(const char* reason) { return {Kind::refused, {}, reason}; }
};

// Appends n3 and i3 to a type-0 payload of 71 bits, or i3 to one of 74 bits.
Payload finish_type0(const PayloadBits& bits, int n3);
Payload finish(const PayloadBits& bits, int i3);

// Packers, in the order pack77 tries them (see pack77.cpp).
Attempt pack_dxpedition(const Words& words, HashBook& book);   // 0.1
Attempt pack_field_day(const Words& words, HashBook& book);    // 0.3 and 0.4
Attempt pack_telemetry(const Words& words);                    // 0.5
Attempt pack_wspr(const Words& words, HashBook& book, bool wspr_hint);  // 0.6
Attempt pack_standard(const Words& words, HashBook& book);     // 1 and 2
Attempt pack_rtty(const Words& words, HashBook& book);         // 3
Attempt pack_nonstandard(const Words& words, HashBook& book);  // 4
Attempt pack_eu_vhf(const Words& words, HashBook& book);       // 5
Attempt pack_free_text(const Words& words);                    // 0.0

// Decoders; nothing when the bits do not decode.
std::optional<Text> unpack_free_text(BitView bits);
std::optional<Text> unpack_dxpedition(BitView bits, const HashBook& book);
std::optional<Text> unpack_field_day(BitView bits, int n3, const HashBook& book);
std::optional<Text> unpack_telemetry(BitView bits);
std::optional<Text> unpack_wspr(BitView bits, const HashBook& book);
std::optional<Text> unpack_standard(BitView bits, int i3, const HashBook& book);
std::optional<Text> unpack_rtty(BitView bits, const HashBook& book);
std::optional<Text> unpack_nonstandard(BitView bits, const HashBook& book);
std::optional<Text> unpack_eu_vhf(BitView bits, const HashBook& book);

// Report numbers as the decoder prints them: "+05", "-12" (Fortran i3.2
// with a '+' in place of a leading blank).
FixedString<3> signed_report(long value);

// Grid4 locator value (L1*18 + L2)*100 + D3*10 + D4, and back.
long grid4_value(std::string_view grid);
FixedString<4> grid4_text(long value);

}  // namespace fst4::detail
