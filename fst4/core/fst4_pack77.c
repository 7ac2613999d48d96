/* Message text to the 77-bit payload, choosing the message type in the
   order of the reference packer (WSJT-X 2.6.1, lib/77bit/packjt77.f90,
   pack77): messages starting with CQ, DE or QRZ skip the DXpedition, Field
   Day and telemetry forms; telemetry is tried only for a single word; the
   first type that takes the message wins, free text takes the rest. A
   message whose payload the reference could not decode (it would send
   garbage) is refused here by the same rules, without decoding. */
#include "fst4_pack77.h"

#include "fst4_words.h"

#define NONE (-1)
#define PACKED 0

/* Type-1/2 g15 values above the 32400 grid squares (pack77_1). */
#define GRID_LIMIT 32400L
#define NO_THIRD_WORD 1L
#define RRR 2L
#define RR73 3L
#define SEVENTY_THREE 4L
#define REPORT_OFFSET 35L
#define G15_LIMIT 32768L

static int is(struct fst4_span w, const char *text) {
  size_t i;
  for (i = 0; i < w.length; ++i) {
    if (text[i] != w.text[i]) return 0;
  }
  return text[w.length] == '\0';
}

static int starts(struct fst4_span w, const char *text) {
  size_t i;
  for (i = 0; text[i] != '\0'; ++i) {
    if (i >= w.length || text[i] != w.text[i]) return 0;
  }
  return 1;
}

static int ends(struct fst4_span w, char a, char b) {
  return w.length >= 2 && w.text[w.length - 2] == a && w.text[w.length - 1] == b;
}

static int has(struct fst4_span w, char c) {
  size_t i;
  for (i = 0; i < w.length; ++i) {
    if (w.text[i] == c) return 1;
  }
  return 0;
}

static struct fst4_span cut(struct fst4_span w, size_t from, size_t count) {
  struct fst4_span part;
  part.text = w.text + (from < w.length ? from : w.length);
  part.length = from < w.length ? w.length - from : 0;
  if (part.length > count) part.length = count;
  return part;
}

static void finish(uint8_t *payload, unsigned n3, unsigned i3) {
  unsigned at = 71;
  if (i3 == 0) fst4_put_bits(payload, &at, n3, 3);
  at = 74;
  fst4_put_bits(payload, &at, i3, 3);
}

/* ---- 1 and 2: two calls, [R], grid4 / report / RRR / RR73 / 73 ---- */

static int is_token(struct fst4_span w) {
  return is(w, "DE") || is(w, "QRZ") || is(w, "CQ") || (starts(w, "CQ_") && fst4_in_call_alphabet(cut(w, 3, 99)));
}

/* "<...>" with its '>' at position 5 or later and call characters inside. */
static int is_hashed_word(struct fst4_span w) {
  size_t close = 0;
  while (close < w.length && w.text[close] != '>') ++close;
  return w.length > 0 && w.text[0] == '<' && close < w.length && close >= 4 && fst4_in_call_alphabet(cut(w, 1, close - 1));
}

static int call_ok(struct fst4_span w) { return is_hashed_word(w) || fst4_base_call(w, 0).length != 0; }

static struct fst4_span packed_form(struct fst4_span w) {
  if (is_token(w) || w.text[0] == '<') return w;
  return fst4_base_call(w, 0);
}

/* The last word as g15 (grids by their first four characters, as the
   reference reads them); *r_flag for "R+nn"/"R-nn". */
static int last_word(struct fst4_span w, long *g15, int *is_grid, int *r_flag) {
  struct fst4_span head = cut(w, 0, 4);
  struct fst4_span number;
  int32_t db;
  *is_grid = 0;
  *r_flag = 0;
  if (fst4_is_grid4(head)) {
    *is_grid = 1;
    *g15 = (long)fst4_grid4_value(head.text);
    return 1;
  }
  if (is(w, "RRR")) return *g15 = GRID_LIMIT + RRR, 1;
  if (is(head, "RR73")) return *g15 = GRID_LIMIT + RR73, 1;
  if (is(w, "73")) return *g15 = GRID_LIMIT + SEVENTY_THREE, 1;
  *r_flag = w.length > 1 && w.text[0] == 'R' && (w.text[1] == '+' || w.text[1] == '-');
  number = *r_flag ? cut(w, 1, 99) : w;
  if (number.length == 0 || (number.text[0] != '+' && number.text[0] != '-') || !fst4_parse_int(number, &db)) return 0;
  if (db >= -50 && db <= -31) db += 101;
  *g15 = GRID_LIMIT + db + REPORT_OFFSET;
  return 1;
}

/* Whether a call word decodes as "CQ...": CQ, a CQ token, or a standard
   call spelt with CQ first (hashed calls show as "<...>"). */
static int decodes_as_cq(struct fst4_span packed) {
  return packed.length >= 2 && packed.text[0] == 'C' && packed.text[1] == 'Q' && !fst4_is_hash28(fst4_pack28(packed));
}

static int pack_standard(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span w1 = fst4_word(words, 1);
  struct fst4_span w2 = fst4_word(words, 2);
  long g15 = GRID_LIMIT + NO_THIRD_WORD;
  int is_grid = 0;
  int r_flag = 0;
  int p1, p2, r1, r2, cq;
  uint32_t c1, c2;
  unsigned at = 0;
  if (n < 2 || n > 4) return NONE;
  if (!(is_token(w1) || call_ok(w1)) || !call_ok(w2)) return NONE;
  if (w1.text[0] == '<' && has(w2, '/')) return NONE;
  if (w2.text[0] == '<' && has(w1, '/')) return NONE;
  if (n == 2 && has(w2, '/')) return NONE;
  if (n >= 3 && !last_word(fst4_word(words, n), &g15, &is_grid, &r_flag)) return NONE;
  if (n == 4 && !is(fst4_word(words, 3), "R")) return NONE;
  /* A separate "R" is sent only before a grid. */
  if (n == 4 && is_grid) r_flag = 1;
  p1 = w1.text[0] != '<' && ends(w1, '/', 'P');
  p2 = w2.text[0] != '<' && ends(w2, '/', 'P');
  r1 = w1.text[0] != '<' && ends(w1, '/', 'R');
  r2 = w2.text[0] != '<' && ends(w2, '/', 'R');
  /* Beyond the 15-bit field the reference writes asterisks: garbage. */
  if (g15 < 0 || g15 >= G15_LIMIT) return FST4_REPORT_RANGE;
  c1 = fst4_pack28(packed_form(w1));
  c2 = fst4_pack28(packed_form(w2));
  /* What the reference cannot decode: a bare CQ before a hashed call, and
     a CQ with "R grid", a report, RRR, RR73 or 73. */
  cq = decodes_as_cq(packed_form(w1));
  if (c1 == 2 && !(p1 || r1) && fst4_is_hash28(c2)) return FST4_WOULD_NOT_DECODE;
  if (cq && ((is_grid && r_flag) || (!is_grid && g15 != GRID_LIMIT + NO_THIRD_WORD))) return FST4_WOULD_NOT_DECODE;
  fst4_put_bits(payload, &at, c1, 28);
  fst4_put_bits(payload, &at, (p1 || r1) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, c2, 28);
  fst4_put_bits(payload, &at, (p2 || r2) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, r_flag ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, (uint32_t)g15, 15);
  finish(payload, 0, (p1 || p2) ? 2u : 1u);
  return PACKED;
}

/* ---- 0.0 free text and 0.5 telemetry ---- */

#define TEXT_LENGTH 13u
#define TEXT_BASE 42u
#define TEXT_BITS 71u
#define WIDE_BYTES 9u /* 72 bits hold 42^13 */

/* Free-text alphabet (packtext77): blank, digits, letters, + - . / ? */
static int text_index(char c) {
  static const char symbols[] FST4_FLASH = "+-./?";
  unsigned i;
  if (c == ' ') return 0;
  if (fst4_is_digit(c)) return 1 + (c - '0');
  if (fst4_is_letter(c)) return 11 + (c - 'A');
  for (i = 0; i < 5u; ++i) {
    if ((char)fst4_flash_byte(&symbols[i]) == c) return 37 + (int)i;
  }
  return -1;
}

static void put_wide(uint8_t *payload, const uint8_t *wide, unsigned width) {
  unsigned at = 0;
  unsigned i;
  for (i = width; i-- > 0;) {
    unsigned byte = WIDE_BYTES - 1u - i / 8u;
    fst4_put_bits(payload, &at, (uint32_t)((wide[byte] >> (i % 8u)) & 1u), 1);
  }
}

static int pack_free_text(const struct fst4_words *words, uint8_t *payload) {
  uint8_t wide[WIDE_BYTES] = {0};
  size_t length = words->length < TEXT_LENGTH ? words->length : TEXT_LENGTH;
  size_t i;
  /* The reference reads other characters as blanks. */
  for (i = 0; i < words->length; ++i) {
    if (text_index(words->text[i]) < 0) return FST4_FREE_TEXT_CHARACTER;
  }
  while (length > 0 && words->text[length - 1] == ' ') --length;
  if (length == 0) return FST4_WOULD_NOT_DECODE;
  /* The first 13 characters, right-aligned: leading blanks add nothing. */
  for (i = 0; i < TEXT_LENGTH; ++i) {
    uint16_t carry = i < TEXT_LENGTH - length ? 0u : (uint16_t)text_index(words->text[i - (TEXT_LENGTH - length)]);
    unsigned b;
    for (b = WIDE_BYTES; b-- > 0;) {
      uint16_t product = (uint16_t)(wide[b] * TEXT_BASE + carry);
      wide[b] = (uint8_t)product;
      carry = (uint16_t)(product >> 8);
    }
  }
  put_wide(payload, wide, TEXT_BITS);
  finish(payload, 0, 0);
  return PACKED;
}

#define TELEMETRY_DIGITS 18u
#define TELEMETRY_FIRST_LIMIT 0x800000UL /* 2^23 */

static int hex_digit(char c) {
  if (fst4_is_digit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/* One 6-character field of the word right-aligned in 18: blanks, an
   optional '+', hex digits (the reference's hex read takes the sign). */
static int telemetry_field(const char *field, size_t count, uint32_t *value) {
  size_t i = 0;
  *value = 0;
  while (i < count && field[i] == ' ') ++i;
  if (i == count) return 1;
  if (field[i] == '+') ++i;
  if (i == count) return 0;
  for (; i < count; ++i) {
    int digit = hex_digit(field[i]);
    if (digit < 0) return 0;
    *value = *value * 16u + (uint32_t)digit;
  }
  return 1;
}

static int pack_telemetry(const struct fst4_words *words, uint8_t *payload) {
  /* The message itself (not the word cut to 13), its first 18 characters. */
  size_t length = words->length < TELEMETRY_DIGITS ? words->length : TELEMETRY_DIGITS;
  size_t blanks = TELEMETRY_DIGITS - length;
  char padded[TELEMETRY_DIGITS];
  uint32_t parts[3];
  unsigned at = 0;
  size_t i;
  for (i = 0; i < TELEMETRY_DIGITS; ++i) padded[i] = i < blanks ? ' ' : words->text[i - blanks];
  for (i = 0; i < 3u; ++i) {
    if (!telemetry_field(padded + 6u * i, 6u, &parts[i])) return NONE;
  }
  /* Too large for 71 bits: free text instead. */
  if (parts[0] >= TELEMETRY_FIRST_LIMIT) return pack_free_text(words, payload);
  /* All zero decodes as nothing at all. */
  if (parts[0] == 0 && parts[1] == 0 && parts[2] == 0) return FST4_EMPTY_DECODE;
  fst4_put_bits(payload, &at, parts[0], 23);
  fst4_put_bits(payload, &at, parts[1], 24);
  fst4_put_bits(payload, &at, parts[2], 24);
  finish(payload, 5, 0);
  return PACKED;
}

/* ---- 4: one hashed call, one call sent whole (h12 c58 flip1 rpt2 cq1) ---- */

#define MIN_CQ_CALL 5u

static void put58(uint8_t *payload, unsigned *at, uint64_t n58) {
  fst4_put_bits(payload, at, (uint32_t)(n58 >> 32), 26);
  fst4_put_bits(payload, at, (uint32_t)n58, 32);
}

static int pack_nonstandard(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span w1 = fst4_word(words, 1);
  struct fst4_span w2 = fst4_word(words, 2);
  struct fst4_span w3 = fst4_word(words, 3);
  struct fst4_span hashed1, hashed2, hashed, whole;
  uint32_t reply = is(w3, "RRR") ? 1u : is(w3, "RR73") ? 2u : is(w3, "73") ? 3u : 0u;
  unsigned at = 0;
  if (n < 2 || n > 3) return NONE;
  if (is(w1, "CQ")) {
    struct fst4_span call = fst4_bracketed(w2);
    if (call.length == 0) call = w2;
    if (call.length < MIN_CQ_CALL || !fst4_in_call_alphabet(call)) return NONE;
    fst4_put_bits(payload, &at, fst4_hash_call(call, 12), 12);
    put58(payload, &at, fst4_pack58(call));
    fst4_put_bits(payload, &at, 1, 4); /* flip 0, reply 0, cq 1 */
    finish(payload, 0, 4);
    return PACKED;
  }
  hashed1 = fst4_bracketed(w1);
  hashed2 = fst4_bracketed(w2);
  if ((hashed1.length != 0) == (hashed2.length != 0)) {
    /* Two plain calls, the second compound: the reference sends an empty
       payload that decodes as "<...>". */
    if (hashed1.length == 0 && n == 2 && fst4_base_call(w1, 0).length != 0 && fst4_base_call(w2, 0).length != 0 &&
        has(w2, '/')) {
      return FST4_TWO_PLAIN_CALLS;
    }
    return NONE;
  }
  hashed = hashed1.length != 0 ? hashed1 : hashed2;
  whole = hashed1.length != 0 ? w2 : w1;
  if (!fst4_in_call_alphabet(whole)) return NONE;
  fst4_put_bits(payload, &at, fst4_hash_call(hashed, 12), 12);
  put58(payload, &at, fst4_pack58(whole));
  fst4_put_bits(payload, &at, hashed1.length == 0 ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, reply, 2);
  fst4_put_bits(payload, &at, 0, 1);
  finish(payload, 0, 4);
  return PACKED;
}

/* ---- 3: ARRL RTTY Roundup, [TU;] CALL CALL [R] 5x9 STATE-or-SERIAL ---- */

/* States, provinces and DX entities, then X01..X99: exch13 = 8000 + the
   1-based index (pack77_3, cmult). Serials 1..7999. */
static const char multipliers[] FST4_FLASH =
    "AL AK AZ AR CA CO CT DE FL GA HI ID IL IN IA KS KY LA ME MD MA MI MN MS MO MT NE NV NH NJ NM NY NC ND OH OK "
    "OR PA RI SC SD TN TX UT VT VA WA WV WI WY NB NS QC ON MB SK AB BC NWT NF LB NU YT PEI DC DR FR GD GR OV ZH ZL";
#define MULTIPLIER_COUNT 72
/* ARRL sections, 1-based index in 7 bits (pack77_03, csec). */
static const char sections[] FST4_FLASH =
    "AB AK AL AR AZ BC CO CT DE EB EMA ENY EPA EWA GA GH IA ID IL IN KS KY LA LAX NS MB MDC ME MI MN MO MS MT NC "
    "ND NE NFL NH NL NLI NM NNJ NNY TER NTX NV OH OK ONE ONN ONS OR ORG PAC PR QC RI SB SC SCV SD SDG SF SFL SJV SK "
    "SNJ STX SV TN UT VA VI VT WCF WI WMA WNY WPA WTX WV WWA WY DX PE NB";

/* 1-based position of `w` in a blank-separated list in flash, or 0. */
static int list_index(const char *list, struct fst4_span w) {
  int index = 1;
  size_t i = 0;
  size_t matched = 0;
  int matching = 1;
  for (;; ++i) {
    char c = (char)fst4_flash_byte(&list[i]);
    if (c == ' ' || c == '\0') {
      if (matching && matched == w.length) return index;
      if (c == '\0') return 0;
      ++index;
      matched = 0;
      matching = 1;
    } else {
      if (matching && matched < w.length && w.text[matched] == c) {
        ++matched;
      } else {
        matching = 0;
      }
    }
  }
}

static int is_rst(struct fst4_span w) {
  return w.length >= 3 && w.text[0] == '5' && w.text[1] >= '1' && w.text[1] <= '9' && w.text[2] == '9';
}

static int pack_rtty(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  unsigned tu, r;
  struct fst4_span call1, call2, last;
  int32_t serial = 0, rst;
  long exchange, rst3;
  int mult;
  unsigned at = 0;
  if (n < 4 || n > 6) return NONE;
  if (fst4_word(words, 1).text[0] == '<' && fst4_word(words, 2).text[0] == '<') return NONE;
  tu = is(fst4_word(words, 1), "TU;") ? 1u : 0u;
  call1 = fst4_word(words, 1 + tu);
  call2 = fst4_word(words, 2 + tu);
  if (fst4_base_call(call1, 0).length == 0 || fst4_base_call(call2, 0).length == 0 || !is_rst(fst4_word(words, n - 1))) {
    return NONE;
  }
  last = fst4_word(words, n);
  mult = list_index(multipliers, last);
  if (mult == 0 && last.length == 3 && last.text[0] == 'X' && fst4_is_digit(last.text[1]) && fst4_is_digit(last.text[2]) &&
      (last.text[1] != '0' || last.text[2] != '0')) {
    mult = MULTIPLIER_COUNT + (last.text[1] - '0') * 10 + (last.text[2] - '0');
  }
  if (mult != 0) {
    exchange = 8000L + mult;
  } else if (fst4_parse_int(last, &serial) && serial >= 1 && serial <= 7999) {
    exchange = serial;
  } else {
    return NONE;
  }
  r = is(fst4_word(words, 3 + tu), "R") ? 1u : 0u;
  if (!fst4_parse_int(fst4_word(words, 3 + tu + r), &rst)) return NONE;
  rst3 = ((long)rst - 509L) / 10L - 2L;
  rst3 = rst3 < 0 ? 0 : (rst3 > 7 ? 7 : rst3);
  fst4_put_bits(payload, &at, tu, 1);
  fst4_put_bits(payload, &at, fst4_pack28(call1), 28);
  fst4_put_bits(payload, &at, fst4_pack28(call2), 28);
  fst4_put_bits(payload, &at, r, 1);
  fst4_put_bits(payload, &at, (uint32_t)rst3, 3);
  fst4_put_bits(payload, &at, (uint32_t)exchange, 13);
  finish(payload, 0, 3);
  return PACKED;
}

/* ---- 0.1 DXpedition, 0.3/0.4 Field Day, 5 EU VHF ---- */

static int pack_dxpedition(const struct fst4_words *words, uint8_t *payload) {
  struct fst4_span hashed = fst4_bracketed(fst4_word(words, 4));
  int32_t db;
  long r5;
  unsigned at = 0;
  if (words->count != 5 || !is(fst4_word(words, 2), "RR73;")) return NONE;
  if (hashed.length == 0 || !fst4_parse_int(fst4_word(words, 5), &db) || fst4_base_call(fst4_word(words, 1), 0).length == 0 ||
      fst4_base_call(fst4_word(words, 3), 0).length == 0) {
    return NONE;
  }
  r5 = ((long)db + 30L) / 2L; /* C and Fortran both truncate toward zero */
  r5 = r5 < 0 ? 0 : (r5 > 31 ? 31 : r5);
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 1)), 28);
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 3)), 28);
  fst4_put_bits(payload, &at, fst4_hash_call(hashed, 10), 10);
  fst4_put_bits(payload, &at, (uint32_t)r5, 5);
  finish(payload, 1, 0);
  return PACKED;
}

static int pack_field_day(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  int section;
  struct fst4_span entry;
  int32_t transmitters;
  int klass;
  unsigned at = 0;
  if (n < 4 || n > 5 || fst4_base_call(fst4_word(words, 1), 0).length == 0 ||
      fst4_base_call(fst4_word(words, 2), 0).length == 0) {
    return NONE;
  }
  section = list_index(sections, fst4_word(words, n));
  if (section == 0 || (n == 5 && !is(fst4_word(words, 3), "R"))) return NONE;
  entry = fst4_word(words, n - 1); /* "<transmitters><class>" */
  if (entry.length == 0 || !fst4_parse_int(cut(entry, 0, entry.length - 1), &transmitters) || transmitters < 1 ||
      transmitters > 32) {
    return NONE;
  }
  /* The reference does not check the class: beyond H it overflows. */
  klass = entry.text[entry.length - 1] - 'A';
  if (klass < 0 || klass >= 8) return FST4_FIELD_DAY_CLASS;
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 1)), 28);
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 2)), 28);
  fst4_put_bits(payload, &at, n == 5 ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, (uint32_t)((transmitters - 1) % 16), 4);
  fst4_put_bits(payload, &at, (uint32_t)klass, 3);
  fst4_put_bits(payload, &at, (uint32_t)section, 7);
  finish(payload, transmitters > 16 ? 4u : 3u, 0);
  return PACKED;
}

static int pack_eu_vhf(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span call1 = fst4_bracketed(fst4_word(words, 1));
  struct fst4_span call2 = fst4_bracketed(fst4_word(words, 2));
  struct fst4_span grid = fst4_word(words, n);
  int32_t exchange;
  long serial;
  uint32_t g25;
  unsigned at = 0;
  if (n < 4 || n > 5 || call1.length == 0 || call2.length == 0) return NONE;
  if (!fst4_parse_int(fst4_word(words, n - 1), &exchange) || !fst4_is_grid6(grid)) return NONE;
  if (exchange < 520001L || exchange > 594095L) return NONE;
  serial = (long)(exchange % 10000);
  g25 = (fst4_grid4_value(grid.text) * 24u + (uint32_t)(grid.text[4] - 'A')) * 24u + (uint32_t)(grid.text[5] - 'A');
  fst4_put_bits(payload, &at, fst4_hash_call(call1, 12), 12);
  fst4_put_bits(payload, &at, fst4_hash_call(call2, 22), 22);
  /* With five words the third is not checked; only "R" sets the flag. */
  fst4_put_bits(payload, &at, (n == 5 && is(fst4_word(words, 3), "R")) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, (uint32_t)(exchange / 10000 - 52), 3);
  fst4_put_bits(payload, &at, (uint32_t)(serial > 2047 ? 2047 : serial), 11);
  fst4_put_bits(payload, &at, g25, 25);
  finish(payload, 0, 5);
  return PACKED;
}

/* ---- The order of attempts ---- */

enum fst4_status fst4_pack77(const char *message, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES],
                             uint8_t *i3, uint8_t *n3) {
  struct fst4_words words;
  int result = NONE;
  unsigned i;
  fst4_split(message, length, &words);
  if (!fst4_carried(words.text, words.length)) return FST4_UNCARRIED_CHARACTER;
  for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
  {
    /* The reference compares the blank-padded field, so a lone CQ counts. */
    struct fst4_span all;
    all.text = words.text;
    all.length = words.length;
    if (!(starts(all, "CQ ") || is(all, "CQ") || starts(all, "DE ") || is(all, "DE") || starts(all, "QRZ ") ||
          is(all, "QRZ"))) {
      result = pack_dxpedition(&words, payload);
      if (result == NONE) result = pack_field_day(&words, payload);
      if (result == NONE && words.count == 1) result = pack_telemetry(&words, payload);
    }
  }
  if (result == NONE && fst4w_pack(words.text, words.length, wspr_hint, payload) != FST4W_NONE) result = PACKED;
  if (result == NONE) result = pack_standard(&words, payload);
  if (result == NONE) result = pack_rtty(&words, payload);
  if (result == NONE) result = pack_nonstandard(&words, payload);
  if (result == NONE) result = pack_eu_vhf(&words, payload);
  if (result == NONE) result = pack_free_text(&words, payload);
  if (result != PACKED) {
    for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
    return (enum fst4_status)result;
  }
  *i3 = (uint8_t)(payload[9] >> 3 & 7u);
  *n3 = *i3 == 0 ? (uint8_t)((payload[8] & 1u) << 2 | payload[9] >> 6) : 0u;
  return FST4_OK;
}
