/* Where the encoder keeps its constant tables (LDPC generators, sync words,
   the scrambler, character tables): in flash through FST4_FLASH, read one
   byte at a time with fst4_flash_byte. On an AVR, flash is its own address
   space (PROGMEM, read with pgm_read_byte) and const data would otherwise be
   copied into the 2 KiB of RAM at start-up; elsewhere const data is already
   in flash or ROM and is read directly. FST4_TEXT("...") is a string
   literal kept there the same way. */
#ifndef FST4_FLASH_H
#define FST4_FLASH_H

#include <stdint.h>

#if defined(__AVR__)
#include <avr/pgmspace.h>
#define FST4_FLASH PROGMEM
#define FST4_TEXT(literal) PSTR(literal)
#define fst4_flash_byte(address) pgm_read_byte(address)
#else
#define FST4_FLASH
#define FST4_TEXT(literal) (literal)
#define fst4_flash_byte(address) (*(const uint8_t *)(address))
#endif

#endif
