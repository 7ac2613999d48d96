// The 77-bit message payload and the per-type decoders, which give the text
// a receiver shows (the packing is the core's, fst4/core/fst4_pack77.c).
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

// Grid4 locator from its value (L1*18 + L2)*100 + D3*10 + D4.
FixedString<4> grid4_text(long value);

}  // namespace fst4::detail
