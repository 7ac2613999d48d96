// Text the decoder builds: the free-text alphabet and the words of calls.
#pragma once

#include <string_view>

#include "fixed_string.h"
#include "fst4/encoder.h"

namespace fst4::detail {

// Free-text alphabet, blank = 0 (WSJT-X 2.6.1, lib/77bit/packjt77.f90,
// packtext77), as the decoder spells it.
inline constexpr std::string_view kTextAlphabet = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?";

// Words of a message are cut to 13 characters (packjt77.f90, split77).
inline constexpr std::size_t kMaxWordLength = 13;
using Word = FixedString<kMaxWordLength>;

}  // namespace fst4::detail
