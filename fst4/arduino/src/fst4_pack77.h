/* The per-type packers of the 77-bit payload and what they share. Each
   packer returns FST4_PACK_NONE when the message is not of its type (the
   next type is tried), FST4_PACK_DONE when it has filled the payload with
   the message as typed, FST4_OTHER_TEXT when it has filled it but the
   receiver will show another text, or the fst4_status that refuses the
   message. */
#ifndef FST4_PACK77_H
#define FST4_PACK77_H

#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

#include "fst4_words.h"

#define FST4_PACK_NONE (-1)
#define FST4_PACK_DONE 0

int fst4_pack_dxpedition(const struct fst4_words *words, uint8_t *payload);  /* 0.1 */
int fst4_pack_field_day(const struct fst4_words *words, uint8_t *payload);   /* 0.3, 0.4 */
int fst4_pack_telemetry(const struct fst4_words *words, uint8_t *payload);   /* 0.5 */
int fst4_pack_standard(const struct fst4_words *words, uint8_t *payload);    /* 1, 2 */
int fst4_pack_rtty(const struct fst4_words *words, uint8_t *payload);        /* 3 */
int fst4_pack_nonstandard(const struct fst4_words *words, uint8_t *payload); /* 4 */
int fst4_pack_eu_vhf(const struct fst4_words *words, uint8_t *payload);      /* 5 */
int fst4_pack_free_text(const struct fst4_words *words, uint8_t *payload);   /* 0.0 */

/* Whether a word is exactly `text`, starts with it (both texts in flash:
   FST4_TEXT("...")), ends in the two characters a b, or holds c. */
int fst4_is(struct fst4_span w, const char *text);
int fst4_starts(struct fst4_span w, const char *text);
int fst4_ends(struct fst4_span w, char a, char b);
int fst4_has(struct fst4_span w, char c);
/* Whether a word is a report as the receiver shows one: a sign and one or
   two digits (it shows "-5" as "-05", which is the same report). */
int fst4_report_spelling(struct fst4_span w);
/* At most `count` characters of `w` from `from` on (empty past the end). */
struct fst4_span fst4_cut(struct fst4_span w, size_t from, size_t count);
/* Writes n3 (for i3 = 0) and i3 at the payload's end. */
void fst4_finish(uint8_t *payload, unsigned n3, unsigned i3);
/* 1-based position of `w` in a blank-separated list in flash, or 0. */
int fst4_list_index(const char *list, struct fst4_span w);

#endif
