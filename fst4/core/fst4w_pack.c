/* Type 0.6: the WSPR-style 50-bit payloads sent as FST4W (WSJT-X 2.6.1,
   lib/77bit/packjt77.f90, pack77_06). Bits 51..71 stay zero, n3 = 6, i3 = 0.
     type 1  CALL GRID4 dBm   c28 g15 p5 "00"
     type 2  PFX/CALL dBm     c28 x16 p5 "1"   (or CALL/SFX)
     type 3  <CALL> GRID      h22 g25 "010"    (only with the WSPR hint)
   The words are parsed in place. */
#include <fst4/fst4.h>

#include "fst4_call.h"

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

static int is_grid4(struct fst4_span w) {
  return w.length == 4 && w.text[0] >= 'A' && w.text[0] <= 'R' && w.text[1] >= 'A' && w.text[1] <= 'R' &&
         fst4_is_digit(w.text[2]) && fst4_is_digit(w.text[3]);
}

static int is_grid6(struct fst4_span w) {
  struct fst4_span head;
  head.text = w.text;
  head.length = 4;
  return w.length == 6 && is_grid4(head) && w.text[4] >= 'A' && w.text[4] <= 'X' && w.text[5] >= 'A' &&
         w.text[5] <= 'X';
}

static uint32_t grid4_value(const char *g) {
  return ((uint32_t)(g[0] - 'A') * 18u + (uint32_t)(g[1] - 'A')) * 100u + (uint32_t)(g[2] - '0') * 10u +
         (uint32_t)(g[3] - '0');
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

static long base36(char c) { return fst4_is_digit(c) ? c - '0' : c - 'A' + 10; }

/* The x16 prefix/suffix field of a compound call, or -1. The side that is
   not the base call is the prefix or suffix. (The reference takes anything
   before a '/' at 2..4 as a prefix and so sends "K1A/P" as "K1A/K1A"; here
   a suffix is sent as the suffix it is.) */
static long affix_field(struct fst4_span call, struct fst4_span base) {
  size_t slash = 0;
  size_t i;
  const char *right;
  size_t right_length;
  long value = 0;
  while (call.text[slash] != '/') ++slash;
  right = call.text + slash + 1;
  right_length = call.length - slash - 1;
  /* A 3-character right-hand part must end in a digit even when it is the
     base call (the reference sends "PJ4/K1A 37" as free text). */
  if (right_length == 3 && !fst4_is_digit(right[2])) return -1;
  if (right == base.text) {
    if (slash == 0 || slash > 3) return -1;
    for (i = 0; i < slash; ++i) value = value * 36 + base36(call.text[i]);
    return value;
  }
  if (right_length == 1) return (long)SUFFIX_BASE + base36(right[0]);
  if (right_length == 2) return (long)SUFFIX_BASE + 36 * base36(right[0]) + base36(right[1]);
  if (right_length == 3) return (long)SUFFIX_BASE + 360 * base36(right[0]) + 10 * base36(right[1]) + (right[2] - '0');
  return -1;
}

/* Appends the low `width` bits of `value` at bit `*at`, MSB first. */
static void put(uint8_t *bits, unsigned *at, uint32_t value, unsigned width) {
  while (width-- > 0) {
    if ((value >> width) & 1u) bits[*at >> 3] |= (uint8_t)(0x80u >> (*at & 7u));
    ++*at;
  }
}

static int all_base36(struct fst4_span s) {
  size_t i;
  for (i = 0; i < s.length; ++i) {
    if (!fst4_is_digit(s.text[i]) && !fst4_is_letter(s.text[i])) return 0;
  }
  return 1;
}

enum fst4w_type fst4w_pack(const char *text, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES]) {
  struct words w;
  unsigned at = 0;
  unsigned i;
  enum fst4w_type type = FST4W_NONE;
  for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
  split(text, length, &w);
  if (w.count == 3) {
    struct fst4_span call = w.word[0];
    int power = dbm(w.word[2]);
    if (call.length >= 3 && call.length <= 6 && fst4_base_call(call, 1).length != 0 && is_grid4(w.word[1]) &&
        power >= 0) {
      put(payload, &at, fst4_pack28_call(call), 28);
      put(payload, &at, grid4_value(w.word[1].text), 15);
      put(payload, &at, power_field(power), 5);
      put(payload, &at, 0, 2);
      type = FST4W_TYPE1;
    }
  } else if (w.count == 2) {
    struct fst4_span call = w.word[0];
    struct fst4_span base = fst4_base_call(call, 0);
    int power = dbm(w.word[1]);
    int compound = base.length != 0 && base.length != call.length;
    long affix = compound ? affix_field(call, base) : -1;
    if (power >= 0 && affix >= 0) {
      struct fst4_span side;
      /* Both sides must be letters and digits. */
      side.text = call.text;
      side.length = call.length;
      for (i = 0; i < side.length; ++i) {
        if (side.text[i] == '/') break;
      }
      {
        struct fst4_span left, right;
        left.text = call.text;
        left.length = i;
        right.text = call.text + i + 1;
        right.length = call.length - i - 1;
        if (all_base36(left) && all_base36(right)) {
          put(payload, &at, fst4_pack28_call(base), 28);
          put(payload, &at, (uint32_t)affix, 16);
          put(payload, &at, power_field(power), 5);
          put(payload, &at, 1, 1);
          type = FST4W_TYPE2;
        }
      }
    }
    if (type == FST4W_NONE && wspr_hint) {
      struct fst4_span word = w.word[0];
      struct fst4_span grid = w.word[1];
      struct fst4_span inside;
      inside.text = word.text + 1;
      inside.length = word.length >= 2 ? word.length - 2 : 0;
      if (word.length >= 3 && word.text[0] == '<' && word.text[word.length - 1] == '>' &&
          fst4_in_call_alphabet(inside) && (is_grid4(grid) || is_grid6(grid))) {
        uint32_t s5 = grid.length == 6 ? (uint32_t)(grid.text[4] - 'A') : GRID4_SUBSQUARE;
        uint32_t s6 = grid.length == 6 ? (uint32_t)(grid.text[5] - 'A') : GRID4_SUBSQUARE;
        put(payload, &at, fst4_hash_call(inside, 22), 22);
        put(payload, &at, (uint32_t)((grid4_value(grid.text) * SUBSQUARE_BASE + s5) * SUBSQUARE_BASE + s6), 25);
        put(payload, &at, 2, 3);
        type = FST4W_TYPE3;
      }
    }
  }
  if (type == FST4W_NONE) return type;
  at = 71;  /* bits 51..71 stay zero */
  put(payload, &at, N3_WSPR, 3);
  put(payload, &at, 0, 3);
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
