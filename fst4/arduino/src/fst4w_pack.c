/* Type 0.6: the WSPR-style 50-bit payloads sent as FST4W (WSJT-X 2.6.1,
   lib/77bit/packjt77.f90, pack77_06). Bits 51..71 stay zero, n3 = 6, i3 = 0.
     type 1  CALL GRID4 dBm   c28 g15 p5 "00"
     type 2  PFX/CALL dBm     c28 x16 p5 "1"   (or CALL/SFX)
     type 3  <CALL> GRID      h22 g25 "010"    (only with the WSPR hint)
   The words are parsed in place. */
#include <fst4/fst4.h>

#include "fst4_call.h"
#include "fst4_words.h"

#define MAX_WORD 13u    /* words are cut to 13 characters */
#define MAX_DBM 60
#define SUFFIX_BASE 46656UL  /* x16: prefixes below 36^3, suffixes from it */
#define SUBSQUARE_BASE 25UL  /* type-3 grid6 subsquares; a grid4 sends 24, 24 */
#define GRID4_SUBSQUARE 24UL
#define N3_WSPR 6u

struct words {
  struct fst4_span word[4];
  unsigned count;
};

static void split(const char *text, size_t length, struct words *out) {
  size_t i = 0;
  out->count = 0;
  while (i < length && out->count < 4u) {
    size_t start = i;
    while (i < length && text[i] != ' ') ++i;
    out->word[out->count].text = text + start;
    out->word[out->count].length = i - start > MAX_WORD ? MAX_WORD : i - start;
    ++out->count;
    ++i;
  }
  if (i < length) out->count = 4;  /* more words than any FST4W form */
}

/* One or two digits, no sign; -1 otherwise. */
static int dbm(struct fst4_span w) {
  if (w.length < 1 || w.length > 2 || !fst4_is_digit(w.text[0]) || !fst4_is_digit(w.text[w.length - 1])) return -1;
  return w.length == 1 ? w.text[0] - '0' : (w.text[0] - '0') * 10 + (w.text[1] - '0');
}

/* p5 = nint(0.3 * dBm) after clamping to 0..60, halves rounded up. */
static uint32_t power_field(int value) {
  if (value > MAX_DBM) value = MAX_DBM;
  return (uint32_t)((3 * value + 5) / 10);
}

static int all_base36(const char *text, size_t length) {
  size_t i;
  for (i = 0; i < length; ++i) {
    if (!fst4_is_digit(text[i]) && !fst4_is_letter(text[i])) return 0;
  }
  return 1;
}

static long base36(char c) { return fst4_is_digit(c) ? c - '0' : c - 'A' + 10; }

/* The x16 prefix/suffix field of a compound call, or -1 when the field
   cannot hold it. The side that is not the base call is the prefix or
   suffix. (The reference takes anything before a '/' at 2..4 as a prefix and
   so sends "K1A/P" as "K1A/K1A"; here a suffix is sent as the suffix it is.)
   The receiver reads the field back as a prefix of up to three base-36
   characters without leading zeros, or a suffix of one character, two, or
   two and a digit, told apart by the value alone: a prefix with a leading
   zero, a two-character suffix starting with 0 and a three-character one
   below 36 * 36 would come back as another text ("00/K1ABC" as "0/K1ABC",
   "K1ABC/0A" as "K1ABC/A", "K1ABC/123" as "K1ABC/AN"), so none is sent. */
#define SUFFIX_TWO 36L        /* values of two-character suffixes start here */
#define SUFFIX_THREE 1296L    /* and of three-character ones here */
static long affix_field(struct fst4_span call, struct fst4_span base) {
  size_t slash = 0;
  size_t i;
  const char *right;
  size_t right_length;
  long value = 0;
  while (call.text[slash] != '/') ++slash;
  right = call.text + slash + 1;
  right_length = call.length - slash - 1;
  if (!all_base36(call.text, slash) || !all_base36(right, right_length)) return -1;
  /* A 3-character right-hand part must end in a digit even when it is the
     base call (the reference sends "PJ4/K1A 37" as free text). */
  if (right_length == 3 && !fst4_is_digit(right[2])) return -1;
  if (right == base.text) {
    if (slash == 0 || slash > 3 || call.text[0] == '0') return -1;
    for (i = 0; i < slash; ++i) value = value * 36 + base36(call.text[i]);
    return value;
  }
  if (right_length == 1) {
    value = base36(right[0]);
  } else if (right_length == 2) {
    value = 36 * base36(right[0]) + base36(right[1]);
    if (value < SUFFIX_TWO) return -1;
  } else if (right_length == 3) {
    value = 360 * base36(right[0]) + 10 * base36(right[1]) + (right[2] - '0');
    if (value < SUFFIX_THREE) return -1;
  } else {
    return -1;
  }
  return (long)SUFFIX_BASE + value;
}

/* Whether the receiver shows `value` dBm as it is: it shows the level the
   5-bit field holds, nint(p5 * 10 / 3). */
static int power_carried(int value) {
  int p5 = (int)power_field(value); /* shown in int arithmetic: 16 bits hold it */
  return value <= MAX_DBM && (p5 * 20 + 3) / 6 == value;
}

static enum fst4w_type type1(const struct words *w, uint8_t *payload, int *other_text) {
  struct fst4_span call = w->word[0];
  int power = dbm(w->word[2]);
  unsigned at = 0;
  if (call.length < 3 || call.length > 6 || fst4_base_call(call, 1).length != call.length ||
      !fst4_is_grid4(w->word[1]) || power < 0) {
    return FST4W_NONE;
  }
  *other_text = !power_carried(power);
  fst4_put_bits(payload, &at, fst4_pack28_call(call), 28);
  fst4_put_bits(payload, &at, fst4_grid4_value(w->word[1].text), 15);
  fst4_put_bits(payload, &at, power_field(power), 5);
  fst4_put_bits(payload, &at, 0, 2);
  return FST4W_TYPE1;
}

static enum fst4w_type type2(const struct words *w, uint8_t *payload, int *other_text) {
  struct fst4_span call = w->word[0];
  struct fst4_span base = fst4_base_call(call, 0);
  int power = dbm(w->word[1]);
  long affix = base.length != 0 && base.length != call.length ? affix_field(call, base) : -1;
  unsigned at = 0;
  if (power < 0 || affix < 0) return FST4W_NONE;
  *other_text = !power_carried(power);
  fst4_put_bits(payload, &at, fst4_pack28_call(base), 28);
  fst4_put_bits(payload, &at, (uint32_t)affix, 16);
  fst4_put_bits(payload, &at, power_field(power), 5);
  fst4_put_bits(payload, &at, 1, 1);
  return FST4W_TYPE2;
}

static enum fst4w_type type3(const struct words *w, uint8_t *payload) {
  struct fst4_span call = fst4_bracketed(w->word[0]);
  struct fst4_span grid = w->word[1];
  uint32_t s5, s6;
  unsigned at = 0;
  if (call.length == 0 || !(fst4_is_grid4(grid) || fst4_is_grid6(grid))) return FST4W_NONE;
  s5 = grid.length == 6 ? (uint32_t)(grid.text[4] - 'A') : GRID4_SUBSQUARE;
  s6 = grid.length == 6 ? (uint32_t)(grid.text[5] - 'A') : GRID4_SUBSQUARE;
  fst4_put_bits(payload, &at, fst4_hash_call(call, 22), 22);
  fst4_put_bits(payload, &at, (uint32_t)((fst4_grid4_value(grid.text) * SUBSQUARE_BASE + s5) * SUBSQUARE_BASE + s6), 25);
  fst4_put_bits(payload, &at, 2, 3);
  return FST4W_TYPE3;
}

enum fst4w_type fst4w_pack(const char *text, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES],
                           int *other_text) {
  struct words w;
  unsigned at = 71; /* bits 51..71 stay zero */
  unsigned i;
  enum fst4w_type type = FST4W_NONE;
  for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
  *other_text = 0;
  split(text, length, &w);
  if (w.count == 3) type = type1(&w, payload, other_text);
  if (w.count == 2) type = type2(&w, payload, other_text);
  if (w.count == 2 && type == FST4W_NONE && wspr_hint) type = type3(&w, payload);
  if (type == FST4W_NONE) return type;
  fst4_put_bits(payload, &at, N3_WSPR, 3);
  fst4_put_bits(payload, &at, 0, 3);
  return type;
}

int fst4_carried(const char *text, size_t length) {
  size_t i;
  for (i = 0; i < length; ++i) {
    char c = text[i];
    if (!fst4_is_letter(c) && !fst4_is_digit(c) && c != ' ' && c != '+' && c != '-' && c != '.' && c != '/' &&
        c != '?' && c != '<' && c != '>' && c != ';') {
      return 0;
    }
  }
  return 1;
}
