// The simulator's text report, laid out as WSJT-X's fst4sim prints it.
#pragma once

#include <string>

#include "fst4/encoder.h"

namespace fst4sim {

struct Settings {
  float f0 = 1500.0F;   // audio frequency, Hz
  float dt = 0.0F;      // time offset, s
  float snr = 0.0F;     // signal-to-noise ratio, dB
  int trSeconds = 120;   // T/R sequence length, s
  bool wsprHint = false;
};

// Samples per symbol at 12000 samples/s for a T/R length, or 0 for a length
// the modes do not define (a fraction, NaN, or a number out of range among
// them): the fst4 library's figures (fst4/fst4.h).
int SamplesPerSymbol(double trSeconds);

// The whole report for one encoded message, "\n" line ends.
std::string Report(const fst4::Encoding& encoding, const Settings& settings);

// Fortran Fw.d output: right-aligned in `width`, or `width` asterisks when
// the number does not fit.
std::string Fixed(double value, int width, int decimals);

}  // namespace fst4sim
