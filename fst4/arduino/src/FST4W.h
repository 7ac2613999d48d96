// The FST4W library for sketches: the C API of <fst4/fst4.h> (see there):
// fst4w_encode for FST4W beacons, fst4_encode for every FST4 message type,
// and the timing of each T/R period (FST4_SYMBOL_MICROSECONDS(120) and the
// other constants for a sketch that knows its period, fst4w_timing and
// fst4_period_timing for one chosen at run time), in integers only.
#ifndef FST4W_LIBRARY_H
#define FST4W_LIBRARY_H

#include "fst4/fst4.h"

#endif
