// The FST4W library for sketches: the C API of <fst4/fst4.h> (see there).
#ifndef FST4W_LIBRARY_H
#define FST4W_LIBRARY_H

#include "fst4/fst4.h"

#endif
