#include "fst4_call.h"

#include <fst4/fst4_flash.h>

/* Largest base call, and the longest call with a prefix or suffix. */
#define MAX_BASE_CALL 6u
#define MAX_COMPOUND_CALL 11u
#define HASHED_CALL_WIDTH 11u

/* c28 ranges (pack28): tokens below NTOKENS, then 2^22 hashes, then the
   standard calls. Unsigned long: these exceed a 16-bit int. */
#define NTOKENS 2063592UL
#define MAX22 4194304UL
#define MASK28 0xFFFFFFFUL
/* Hash multiplier (ihashcall): (47055833459 * n) mod 2^64, top bits. */
#define HASH_MULTIPLIER 47055833459ULL

int fst4_is_letter(char c) { return c >= 'A' && c <= 'Z'; }
int fst4_is_digit(char c) { return c >= '0' && c <= '9'; }
static int is_alnum(char c) { return fst4_is_letter(c) || fst4_is_digit(c); }

int fst4_in_call_alphabet(struct fst4_span call) {
  size_t i;
  for (i = 0; i < call.length; ++i) {
    char c = call.text[i];
    if (!is_alnum(c) && c != '/' && c != ' ') return 0;
  }
  return 1;
}

int fst4_span_equals_flash(struct fst4_span span, const char *flash_text) {
  size_t i;
  for (i = 0; i < span.length; ++i) {
    if ((char)fst4_flash_byte(&flash_text[i]) != span.text[i]) return 0;
  }
  return fst4_flash_byte(&flash_text[span.length]) == '\0';
}

/* The one call beginning with Q that chkcall accepts. */
static const char qu1rk[] FST4_FLASH = "QU1RK";

static struct fst4_span span_of(const char *text, size_t length) {
  struct fst4_span span;
  span.text = text;
  span.length = length;
  return span;
}

struct fst4_span fst4_base_call(struct fst4_span word, int allow_q) {
  struct fst4_span none = span_of(word.text, 0);
  struct fst4_span base = word;
  size_t slash = word.length;
  size_t i;
  size_t area = 0;
  if (word.length == 0 || word.length > MAX_COMPOUND_CALL || !fst4_in_call_alphabet(word)) return none;
  for (i = 0; i < word.length; ++i) {
    if (word.text[i] == '/') {
      slash = i;
      break;
    }
  }
  if (word.length > MAX_BASE_CALL && slash == word.length) return none;
  if (slash < word.length) {
    size_t right = word.length - slash - 1;
    /* The longer side is the base call; the right-hand side wins a tie. */
    base = slash > right ? span_of(word.text, slash) : span_of(word.text + slash + 1, right);
  }
  if (base.length > MAX_BASE_CALL || base.length < 3) return none;
  if (!fst4_is_letter(base.text[0]) && !fst4_is_letter(base.text[1])) return none;
  if (!allow_q && base.text[0] == 'Q' && !fst4_span_equals_flash(base, qu1rk)) return none;
  /* The call-area digit is the last digit among positions 2 and 3. */
  if (fst4_is_digit(base.text[1])) area = 1;
  if (fst4_is_digit(base.text[2])) area = 2;
  if (area == 0) return none;
  if (base.length - area - 1 < 1 || base.length - area - 1 > 3) return none;
  for (i = area + 1; i < base.length; ++i) {
    if (!fst4_is_letter(base.text[i])) return none;
  }
  for (i = 0; i < area; ++i) {
    if (!is_alnum(base.text[i])) return none;
  }
  return base;
}

/* Index in blank, digits, letters, '/' (the 38-character call alphabet). */
static uint8_t index38(char c) {
  if (fst4_is_digit(c)) return (uint8_t)(c - '0' + 1);
  if (fst4_is_letter(c)) return (uint8_t)(c - 'A' + 11);
  if (c == '/') return 37;
  return 0;
}

uint32_t fst4_hash_call(struct fst4_span call, unsigned bits) {
  uint64_t n = 0;
  size_t i;
  /* The call left-aligned in 11 places, blank-padded. */
  for (i = 0; i < HASHED_CALL_WIDTH; ++i) n = 38u * n + index38(i < call.length ? call.text[i] : ' ');
  return (uint32_t)((HASH_MULTIPLIER * n) >> (64u - bits));
}

/* The call-area digit's 1-based position when the call fits the standard
   form, else 0 (the call is then hashed). */
static size_t standard_area(struct fst4_span call) {
  size_t area = 1;
  size_t i;
  unsigned prefix_digits = 0;
  unsigned prefix_letters = 0;
  unsigned suffix_letters = 0;
  for (i = call.length; i >= 2; --i) {
    if (fst4_is_digit(call.text[i - 1])) {
      area = i;
      break;
    }
  }
  if (area < 2 || area > 3) return 0;
  for (i = 0; i + 1 < area; ++i) {
    prefix_digits += fst4_is_digit(call.text[i]) ? 1u : 0u;
    prefix_letters += fst4_is_letter(call.text[i]) ? 1u : 0u;
  }
  for (i = area; i < call.length; ++i) suffix_letters += fst4_is_letter(call.text[i]) ? 1u : 0u;
  if (prefix_letters == 0 || prefix_digits >= area - 1 || suffix_letters > 3) return 0;
  return area;
}

/* Places 1..6: blank/digit/letter (37), digit/letter (36), digit (10),
   blank/letter (27) three times. */
static uint32_t standard_value(struct fst4_span call, size_t area) {
  char six[6];
  size_t pad = area == 2 ? 1u : 0u;
  size_t i;
  uint32_t s;
  for (i = 0; i < 6u; ++i) six[i] = (i >= pad && i - pad < call.length) ? call.text[i - pad] : ' ';
  s = six[0] == ' ' ? 0u : index38(six[0]);
  s = s * 36u + (uint32_t)(index38(six[1]) - 1u);
  s = s * 10u + (uint32_t)(six[2] - '0');
  for (i = 3; i < 6u; ++i) s = s * 27u + (six[i] == ' ' ? 0u : (uint32_t)(six[i] - 'A' + 1));
  return s;
}

uint32_t fst4_pack28_call(struct fst4_span call) {
  size_t area = standard_area(call);
  if (area == 0) return (uint32_t)((NTOKENS + fst4_hash_call(call, 22)) & MASK28);
  return (uint32_t)((NTOKENS + MAX22 + standard_value(call, area)) & MASK28);
}
