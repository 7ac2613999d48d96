/* Types 1 and 2 (two calls and a grid, report or sign-off) and type 4 (one
   hashed call, one sent whole): lib/77bit/packjt77.f90, pack77_1 and
   pack77_4 (WSJT-X 2.6.1). */
#include "fst4_pack77.h"
#include "fst4_words.h"

/* Type-1/2 g15 values above the 32400 grid squares (pack77_1). */
#define GRID_LIMIT 32400L
#define NO_THIRD_WORD 1L
#define RRR 2L
#define RR73 3L
#define SEVENTY_THREE 4L
#define REPORT_OFFSET 35L
#define G15_LIMIT 32768L

/* ---- 1 and 2: two calls, [R], grid4 / report / RRR / RR73 / 73 ---- */

static int is_token(struct fst4_span w) {
  return fst4_is(w, FST4_TEXT("DE")) || fst4_is(w, FST4_TEXT("QRZ")) || fst4_is(w, FST4_TEXT("CQ")) ||
         (fst4_starts(w, FST4_TEXT("CQ_")) && fst4_in_call_alphabet(fst4_cut(w, 3, w.length)));
}

/* "<...>" with its '>' at position 5 or later and call characters inside. */
static int is_hashed_word(struct fst4_span w) {
  size_t close = 0;
  while (close < w.length && w.text[close] != '>') ++close;
  return w.length > 0 && w.text[0] == '<' && close < w.length && close >= 4 &&
         fst4_in_call_alphabet(fst4_cut(w, 1, close - 1));
}

static int call_ok(struct fst4_span w) { return is_hashed_word(w) || fst4_base_call(w, 0).length != 0; }

static struct fst4_span packed_form(struct fst4_span w) {
  if (is_token(w) || w.text[0] == '<') return w;
  return fst4_base_call(w, 0);
}

/* The last word as g15 (grids by their first four characters, as the
   reference reads them); *r_flag for "R+nn"/"R-nn"; *cut when the receiver
   will show less or another spelling ("FN42NP" as "FN42", "+005" as "+05").
   A report the field cannot hold (beyond -50..+50: the receiver would read
   +51 as -50 and -51 as a grid) gives a g15 outside the field. */
#define MAX_REPORT 50
static int last_word(struct fst4_span w, long *g15, int *is_grid, int *r_flag, int *cut) {
  struct fst4_span head = fst4_cut(w, 0, 4);
  struct fst4_span number;
  int32_t db;
  *is_grid = 0;
  *r_flag = 0;
  *cut = w.length != 4;
  if (fst4_is_grid4(head)) {
    *is_grid = 1;
    *g15 = (long)fst4_grid4_value(head.text);
    return 1;
  }
  if (fst4_is(head, FST4_TEXT("RR73"))) return *g15 = GRID_LIMIT + RR73, 1;
  *cut = 0;
  if (fst4_is(w, FST4_TEXT("RRR"))) return *g15 = GRID_LIMIT + RRR, 1;
  if (fst4_is(w, FST4_TEXT("73"))) return *g15 = GRID_LIMIT + SEVENTY_THREE, 1;
  *r_flag = w.length > 1 && w.text[0] == 'R' && (w.text[1] == '+' || w.text[1] == '-');
  number = *r_flag ? fst4_cut(w, 1, w.length) : w;
  if (number.length == 0 || (number.text[0] != '+' && number.text[0] != '-') || !fst4_parse_int(number, &db)) return 0;
  *cut = !fst4_report_spelling(number);
  if (db < -MAX_REPORT || db > MAX_REPORT) return *g15 = -1, 1;
  if (db >= -50 && db <= -31) db += 101;
  *g15 = GRID_LIMIT + db + REPORT_OFFSET;
  return 1;
}

/* Whether a call word loses part of itself in the 28-bit field: a prefix,
   or a suffix other than the /P or /R its flag carries; text after a hashed
   call's '>'. */
static int loses_part(struct fst4_span w) {
  size_t base;
  if (w.text[0] == '<') return w.text[w.length - 1] != '>';
  if (is_token(w)) return 0;
  base = fst4_base_call(w, 0).length;
  return base != w.length && !(base + 2 == w.length && (fst4_ends(w, '/', 'P') || fst4_ends(w, '/', 'R')));
}

/* Whether a call word decodes as "CQ...": CQ, a CQ token, or a standard
   call spelt with CQ first (hashed calls show as "<...>"). */
static int decodes_as_cq(struct fst4_span packed) {
  return packed.length >= 2 && packed.text[0] == 'C' && packed.text[1] == 'Q' && !fst4_is_hash28(fst4_pack28(packed));
}

int fst4_pack_standard(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span w1 = fst4_word(words, 1);
  struct fst4_span w2 = fst4_word(words, 2);
  long g15 = GRID_LIMIT + NO_THIRD_WORD;
  int is_grid = 0;
  int r_flag = 0;
  int cut = 0;
  int p1, p2, r1, r2, cq, other;
  uint32_t c1, c2;
  unsigned at = 0;
  if (n < 2 || n > 4) return FST4_PACK_NONE;
  if (!(is_token(w1) || call_ok(w1)) || !call_ok(w2)) return FST4_PACK_NONE;
  if (w1.text[0] == '<' && fst4_has(w2, '/')) return FST4_PACK_NONE;
  if (w2.text[0] == '<' && fst4_has(w1, '/')) return FST4_PACK_NONE;
  if (n == 2 && fst4_has(w2, '/')) return FST4_PACK_NONE;
  if (n >= 3 && !last_word(fst4_word(words, n), &g15, &is_grid, &r_flag, &cut)) return FST4_PACK_NONE;
  if (n == 4 && !fst4_is(fst4_word(words, 3), FST4_TEXT("R"))) return FST4_PACK_NONE;
  /* A separate "R" is sent only before a grid. */
  if (n == 4 && is_grid) r_flag = 1;
  p1 = w1.text[0] != '<' && fst4_ends(w1, '/', 'P');
  p2 = w2.text[0] != '<' && fst4_ends(w2, '/', 'P');
  r1 = w1.text[0] != '<' && fst4_ends(w1, '/', 'R');
  r2 = w2.text[0] != '<' && fst4_ends(w2, '/', 'R');
  /* Beyond the 15-bit field the reference writes asterisks: garbage. */
  if (g15 < 0 || g15 >= G15_LIMIT) return FST4_REPORT_RANGE;
  c1 = fst4_pack28(packed_form(w1));
  c2 = fst4_pack28(packed_form(w2));
  /* What the reference cannot decode: a bare CQ before a hashed call, and
     a CQ with "R grid", a report, RRR, RR73 or 73. */
  cq = decodes_as_cq(packed_form(w1));
  if (c1 == 2 && !(p1 || r1) && fst4_is_hash28(c2)) return FST4_WOULD_NOT_DECODE;
  if (cq && ((is_grid && r_flag) || (!is_grid && g15 != GRID_LIMIT + NO_THIRD_WORD))) return FST4_WOULD_NOT_DECODE;
  /* What the receiver shows otherwise: a lost call part, a CQ word that is
     no CQ token (hashed: "<CQ_ABCDE>"), one flag bit read as /P for both
     calls when one is /R and the other /P, an "R" before anything but a
     grid left out, a cut last word. */
  other = cut || loses_part(w1) || loses_part(w2) || ((r1 || r2) && (p1 || p2)) || (n == 4 && !is_grid) ||
          (fst4_starts(w1, FST4_TEXT("CQ_")) && fst4_is_hash28(c1));
  fst4_put_bits(payload, &at, c1, 28);
  fst4_put_bits(payload, &at, (p1 || r1) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, c2, 28);
  fst4_put_bits(payload, &at, (p2 || r2) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, r_flag ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, (uint32_t)g15, 15);
  fst4_finish(payload, 0, (p1 || p2) ? 2u : 1u);
  return other ? FST4_OTHER_TEXT : FST4_PACK_DONE;
}

/* ---- 4: one hashed call, one call sent whole (h12 c58 flip1 rpt2 cq1) ---- */

#define MIN_CQ_CALL 5u
#define MAX_WHOLE_CALL 11u /* c58: 11 base-38 places */

static void put58(uint8_t *payload, unsigned *at, uint64_t n58) {
  fst4_put_bits(payload, at, (uint32_t)(n58 >> 32), 26);
  fst4_put_bits(payload, at, (uint32_t)n58, 32);
}

int fst4_pack_nonstandard(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span w1 = fst4_word(words, 1);
  struct fst4_span w2 = fst4_word(words, 2);
  struct fst4_span w3 = fst4_word(words, 3);
  struct fst4_span hashed1, hashed2, hashed, whole;
  uint32_t reply = fst4_is(w3, FST4_TEXT("RRR"))    ? 1u
                   : fst4_is(w3, FST4_TEXT("RR73")) ? 2u
                   : fst4_is(w3, FST4_TEXT("73"))   ? 3u
                                                    : 0u;
  unsigned at = 0;
  if (n < 2 || n > 3) return FST4_PACK_NONE;
  if (fst4_is(w1, FST4_TEXT("CQ"))) {
    struct fst4_span call = fst4_bracketed(w2);
    if (call.length == 0) call = w2;
    if (call.length < MIN_CQ_CALL || !fst4_in_call_alphabet(call)) return FST4_PACK_NONE;
    fst4_put_bits(payload, &at, fst4_hash_call(call, 12), 12);
    put58(payload, &at, fst4_pack58(call));
    fst4_put_bits(payload, &at, 1, 4); /* flip 0, reply 0, cq 1 */
    fst4_finish(payload, 0, 4);
    /* A CQ carries no third word. */
    return n == 3 || call.length > MAX_WHOLE_CALL ? FST4_OTHER_TEXT : FST4_PACK_DONE;
  }
  hashed1 = fst4_bracketed(w1);
  hashed2 = fst4_bracketed(w2);
  if ((hashed1.length != 0) == (hashed2.length != 0)) {
    /* Two plain calls, the second compound: the reference sends an empty
       payload that decodes as "<...>". */
    if (hashed1.length == 0 && n == 2 && fst4_base_call(w1, 0).length != 0 && fst4_base_call(w2, 0).length != 0 &&
        fst4_has(w2, '/')) {
      return FST4_TWO_PLAIN_CALLS;
    }
    return FST4_PACK_NONE;
  }
  hashed = hashed1.length != 0 ? hashed1 : hashed2;
  whole = hashed1.length != 0 ? w2 : w1;
  if (!fst4_in_call_alphabet(whole)) return FST4_PACK_NONE;
  fst4_put_bits(payload, &at, fst4_hash_call(hashed, 12), 12);
  put58(payload, &at, fst4_pack58(whole));
  fst4_put_bits(payload, &at, hashed1.length == 0 ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, reply, 2);
  fst4_put_bits(payload, &at, 0, 1);
  fst4_finish(payload, 0, 4);
  /* A third word other than RRR, RR73 or 73 is left out. */
  return (n == 3 && reply == 0) || whole.length > MAX_WHOLE_CALL ? FST4_OTHER_TEXT : FST4_PACK_DONE;
}
