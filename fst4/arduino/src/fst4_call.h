/* Calls: validity (lib/chkcall.f90), the 28-bit call field and the call
   hashes (lib/77bit/packjt77.f90, pack28 and ihashcall; WSJT-X 2.6.1). */
#ifndef FST4_CALL_H
#define FST4_CALL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A view of part of a message: no copy, no terminator. */
struct fst4_span {
  const char *text;
  size_t length;
};

int fst4_is_letter(char c);
int fst4_is_digit(char c);
/* Letters, digits, '/' and blank: what hashed and 58-bit calls carry. */
int fst4_in_call_alphabet(struct fst4_span call);
/* Whether the span holds exactly the NUL-terminated text, which is in flash. */
int fst4_span_equals_flash(struct fst4_span span, const char *flash_text);

/* The base call of a valid standard or compound call ("PJ4/K1ABC" gives
   "K1ABC"); length 0 when the word is not a usable call. Calls starting
   with Q (Q codes; QU1RK excepted) are refused unless allow_q is set. */
struct fst4_span fst4_base_call(struct fst4_span word, int allow_q);

/* n-bit hash of a call (10, 12 or 22 bits). */
uint32_t fst4_hash_call(struct fst4_span call, unsigned bits);
/* 28-bit field of a call: a standard call's value, or the 22-bit hash of
   the call (angle brackets removed). */
uint32_t fst4_pack28_call(struct fst4_span call);
/* 28-bit field of any call word: DE, QRZ, CQ, a CQ_ token, or a call. */
uint32_t fst4_pack28(struct fst4_span word);
/* Whether a 28-bit field holds a hashed call. */
int fst4_is_hash28(uint32_t c28);
/* Type 4's 58-bit call: the call right-aligned in 11 base-38 places. */
uint64_t fst4_pack58(struct fst4_span call);

#ifdef __cplusplus
}
#endif

#endif
