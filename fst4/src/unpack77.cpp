#include "unpack77.h"

namespace fst4::detail {

std::optional<Text> unpack77(BitView payload, const HashBook& book) {
  auto i3 = static_cast<int>(get_bits(payload, kI3Position, kI3Bits));
  auto n3 = static_cast<int>(get_bits(payload, kN3Position, kN3Bits));
  switch (i3) {
    case 0:
      switch (n3) {
        case 0: return unpack_free_text(payload);
        case 1: return unpack_dxpedition(payload, book);
        case 3:
        case 4: return unpack_field_day(payload, n3, book);
        case 5: return unpack_telemetry(payload);
        case 6: return unpack_wspr(payload, book);
        default: return std::nullopt;  // 0.2 and 0.7 are not defined
      }
    case 1:
    case 2: return unpack_standard(payload, i3, book);
    case 3: return unpack_rtty(payload, book);
    case 4: return unpack_nonstandard(payload, book);
    case 5: return unpack_eu_vhf(payload, book);
    default: return std::nullopt;  // types 6 and 7 are not defined
  }
}

}  // namespace fst4::detail
