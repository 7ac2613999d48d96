/* A message split into words for the 77-bit packers, parsed in place: each
   word is a view of the upper-cased, blank-collapsed text (lib/77bit/
   packjt77.f90, split77; WSJT-X 2.6.1). */
#ifndef FST4_WORDS_H
#define FST4_WORDS_H

#include <fst4/fst4.h>

#include "fst4_call.h"

#ifdef __cplusplus
extern "C" {
#endif

#define FST4_MAX_WORDS 19u
#define FST4_MAX_WORD 13u

struct fst4_words {
  /* The text, and a copy in which "CQ <word> <call>" reads "CQ_<word> <call>". */
  char text[FST4_MAX_MESSAGE + 1];
  char joined[FST4_MAX_MESSAGE + 1];
  size_t length;
  struct fst4_span word[FST4_MAX_WORDS];
  unsigned count;
};

/* Word n counted from 1, or an empty span. */
struct fst4_span fst4_word(const struct fst4_words *words, unsigned n);
/* The message as the packers read it: its first FST4_MAX_MESSAGE
   characters (NULs count as blanks), leading blanks skipped, upper-cased,
   runs of blanks collapsed to one, no trailing blank. Returns the length. */
size_t fst4_normalise(const char *message, size_t length, char text[FST4_MAX_MESSAGE + 1]);
/* Whether `message` holds anything but blanks and NULs past its first
   FST4_MAX_MESSAGE characters, which no message type reads. */
int fst4_past_field(const char *message, size_t length);
/* Normalises `message` and splits it. */
void fst4_split(const char *message, size_t length, struct fst4_words *words);

int fst4_is_grid4(struct fst4_span w);
int fst4_is_grid6(struct fst4_span w);
uint32_t fst4_grid4_value(const char *grid);
/* A whole word read as a decimal integer of up to 9 digits with an optional
   sign; returns 0 when it is not one. */
int fst4_parse_int(struct fst4_span w, int32_t *value);
/* "<CALL>" around call characters: the call inside, or an empty span. */
struct fst4_span fst4_bracketed(struct fst4_span w);

/* Appends the low `width` bits of `value` at bit `*at`, MSB first. */
void fst4_put_bits(uint8_t *bits, unsigned *at, uint32_t value, unsigned width);

#ifdef __cplusplus
}
#endif

#endif
