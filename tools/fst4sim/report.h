// The simulator's text report, laid out as WSJT-X's fst4sim prints it.
#pragma once

#include <string>

#include "fst4/encoder.h"

namespace fst4sim {

struct Settings {
  float f0 = 1500.0F;   // audio frequency, Hz
  float dt = 0.0F;      // time offset, s
  float snr = 0.0F;     // signal-to-noise ratio, dB
  int tr_seconds = 120;  // T/R sequence length, s
  bool wspr_hint = false;
};

// Samples per symbol at 12000 samples/s for a T/R length, or 0 for a length
// the modes do not define (WSJT-X 2.6.1, lib/fst4/fst4sim.f90).
int samples_per_symbol(int tr_seconds);

// The whole report for one encoded message, "\n" line ends.
std::string report(const fst4::Encoding& encoding, const Settings& settings);

// Fortran Fw.d output: right-aligned in `width`, or `width` asterisks when
// the number does not fit.
std::string fixed(double value, int width, int decimals);

}  // namespace fst4sim
