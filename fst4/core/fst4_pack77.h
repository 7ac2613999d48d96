/* The 77-bit packer of every FST4 and FST4W message type. */
#ifndef FST4_PACK77_H
#define FST4_PACK77_H

#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

#endif
