/* Contest and expedition types: ARRL RTTY Roundup (3), DXpedition (0.1),
   ARRL Field Day (0.3, 0.4) and EU VHF (5); packjt77.f90, pack77_3,
   pack77_01, pack77_03 and pack77_5 (WSJT-X 2.6.1). */
#include "fst4_pack77.h"
#include "fst4_words.h"

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

static int is_rst(struct fst4_span w) {
  return w.length >= 3 && w.text[0] == '5' && w.text[1] >= '1' && w.text[1] <= '9' && w.text[2] == '9';
}

int fst4_pack_rtty(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  unsigned tu, r;
  struct fst4_span call1, call2, last;
  int32_t serial = 0, rst;
  long exchange, rst3;
  int mult;
  unsigned at = 0;
  if (n < 4 || n > 6) return FST4_PACK_NONE;
  if (fst4_word(words, 1).text[0] == '<' && fst4_word(words, 2).text[0] == '<') return FST4_PACK_NONE;
  tu = fst4_is(fst4_word(words, 1), FST4_TEXT("TU;")) ? 1u : 0u;
  call1 = fst4_word(words, 1 + tu);
  call2 = fst4_word(words, 2 + tu);
  if (fst4_base_call(call1, 0).length == 0 || fst4_base_call(call2, 0).length == 0 ||
      !is_rst(fst4_word(words, n - 1))) {
    return FST4_PACK_NONE;
  }
  last = fst4_word(words, n);
  mult = fst4_list_index(multipliers, last);
  if (mult == 0 && last.length == 3 && last.text[0] == 'X' && fst4_is_digit(last.text[1]) &&
      fst4_is_digit(last.text[2]) && (last.text[1] != '0' || last.text[2] != '0')) {
    mult = MULTIPLIER_COUNT + (last.text[1] - '0') * 10 + (last.text[2] - '0');
  }
  if (mult != 0) {
    exchange = 8000L + mult;
  } else if (fst4_parse_int(last, &serial) && serial >= 1 && serial <= 7999) {
    exchange = serial;
  } else {
    return FST4_PACK_NONE;
  }
  r = fst4_is(fst4_word(words, 3 + tu), FST4_TEXT("R")) ? 1u : 0u;
  if (!fst4_parse_int(fst4_word(words, 3 + tu + r), &rst)) return FST4_PACK_NONE;
  rst3 = ((long)rst - 509L) / 10L - 2L;
  rst3 = rst3 < 0 ? 0 : (rst3 > 7 ? 7 : rst3);
  fst4_put_bits(payload, &at, tu, 1);
  fst4_put_bits(payload, &at, fst4_pack28(call1), 28);
  fst4_put_bits(payload, &at, fst4_pack28(call2), 28);
  fst4_put_bits(payload, &at, r, 1);
  fst4_put_bits(payload, &at, (uint32_t)rst3, 3);
  fst4_put_bits(payload, &at, (uint32_t)exchange, 13);
  fst4_finish(payload, 0, 3);
  /* The receiver shows a 5x9 report with x from 2 ("519" as "529"), three
     characters of it ("5999" as "599"), a serial without its sign, and no
     word between the report and the calls but "R". */
  return fst4_word(words, n - 1).length != 3 || fst4_word(words, n - 1).text[1] == '1' || n != 4u + tu + r ||
                 last.text[0] == '+'
             ? FST4_OTHER_TEXT
             : FST4_PACK_DONE;
}

/* ---- 0.1 DXpedition, 0.3/0.4 Field Day, 5 EU VHF ---- */

int fst4_pack_dxpedition(const struct fst4_words *words, uint8_t *payload) {
  struct fst4_span hashed = fst4_bracketed(fst4_word(words, 4));
  int32_t db;
  long r5;
  unsigned at = 0;
  if (words->count != 5 || !fst4_is(fst4_word(words, 2), FST4_TEXT("RR73;"))) return FST4_PACK_NONE;
  if (hashed.length == 0 || !fst4_parse_int(fst4_word(words, 5), &db) ||
      fst4_base_call(fst4_word(words, 1), 0).length == 0 || fst4_base_call(fst4_word(words, 3), 0).length == 0) {
    return FST4_PACK_NONE;
  }
  r5 = ((long)db + 30L) / 2L; /* C and Fortran both truncate toward zero */
  r5 = r5 < 0 ? 0 : (r5 > 31 ? 31 : r5);
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 1)), 28);
  fst4_put_bits(payload, &at, fst4_pack28(fst4_word(words, 3)), 28);
  fst4_put_bits(payload, &at, fst4_hash_call(hashed, 10), 10);
  fst4_put_bits(payload, &at, (uint32_t)r5, 5);
  fst4_finish(payload, 1, 0);
  /* The field holds even reports from -30 to +32: others are rounded. */
  return r5 * 2L - 30L != db || !fst4_report_spelling(fst4_word(words, 5)) ? FST4_OTHER_TEXT : FST4_PACK_DONE;
}

int fst4_pack_field_day(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  int section;
  struct fst4_span entry;
  int32_t transmitters;
  int klass;
  unsigned at = 0;
  if (n < 4 || n > 5 || fst4_base_call(fst4_word(words, 1), 0).length == 0 ||
      fst4_base_call(fst4_word(words, 2), 0).length == 0) {
    return FST4_PACK_NONE;
  }
  section = fst4_list_index(sections, fst4_word(words, n));
  if (section == 0 || (n == 5 && !fst4_is(fst4_word(words, 3), FST4_TEXT("R")))) return FST4_PACK_NONE;
  entry = fst4_word(words, n - 1); /* "<transmitters><class>" */
  if (entry.length == 0 || !fst4_parse_int(fst4_cut(entry, 0, entry.length - 1), &transmitters) || transmitters < 1 ||
      transmitters > 32) {
    return FST4_PACK_NONE;
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
  fst4_finish(payload, transmitters > 16 ? 4u : 3u, 0);
  /* The receiver shows the count without a sign. */
  return entry.text[0] == '+' ? FST4_OTHER_TEXT : FST4_PACK_DONE;
}

#define MAX_EU_SERIAL 2047L /* 11 bits */

int fst4_pack_eu_vhf(const struct fst4_words *words, uint8_t *payload) {
  unsigned n = words->count;
  struct fst4_span call1 = fst4_bracketed(fst4_word(words, 1));
  struct fst4_span call2 = fst4_bracketed(fst4_word(words, 2));
  struct fst4_span grid = fst4_word(words, n);
  int32_t exchange;
  long serial;
  uint32_t g25;
  unsigned at = 0;
  if (n < 4 || n > 5 || call1.length == 0 || call2.length == 0) return FST4_PACK_NONE;
  if (!fst4_parse_int(fst4_word(words, n - 1), &exchange) || !fst4_is_grid6(grid)) return FST4_PACK_NONE;
  if (exchange < 520001L || exchange > 594095L) return FST4_PACK_NONE;
  serial = (long)(exchange % 10000);
  g25 = (fst4_grid4_value(grid.text) * 24u + (uint32_t)(grid.text[4] - 'A')) * 24u + (uint32_t)(grid.text[5] - 'A');
  fst4_put_bits(payload, &at, fst4_hash_call(call1, 12), 12);
  fst4_put_bits(payload, &at, fst4_hash_call(call2, 22), 22);
  /* With five words the third is not checked; only "R" sets the flag. */
  fst4_put_bits(payload, &at, (n == 5 && fst4_is(fst4_word(words, 3), FST4_TEXT("R"))) ? 1u : 0u, 1);
  fst4_put_bits(payload, &at, (uint32_t)(exchange / 10000 - 52), 3);
  fst4_put_bits(payload, &at, (uint32_t)(serial > MAX_EU_SERIAL ? MAX_EU_SERIAL : serial), 11);
  fst4_put_bits(payload, &at, g25, 25);
  fst4_finish(payload, 0, 5);
  /* The serial field stops at 2047 (the reference clips to it); a third
     word other than "R" is left out; the exchange is shown without a sign. */
  return serial > MAX_EU_SERIAL || (n == 5 && !fst4_is(fst4_word(words, 3), FST4_TEXT("R"))) ||
                 fst4_word(words, n - 1).text[0] == '+'
             ? FST4_OTHER_TEXT
             : FST4_PACK_DONE;
}
