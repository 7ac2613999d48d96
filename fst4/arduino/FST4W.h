// The FST4W library for sketches: the C API of <fst4/fst4.h> (see there):
// fst4w_encode for FST4W beacons, fst4_encode for every FST4 message type.
#ifndef FST4W_LIBRARY_H
#define FST4W_LIBRARY_H

#include "fst4/fst4.h"

#endif
