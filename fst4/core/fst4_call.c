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

/* Index of c in one of the call alphabets, or -1 when it is not in it: the
   reference folds such a -1 into the number, and so must we to send the same
   value (a "CQ_" word that is no CQ token is hashed with its '_'). */
static int32_t index_in(char c, int blank, int digits, int letters, int slash) {
  int32_t at = 0;
  if (blank) {
    if (c == ' ') return at;
    ++at;
  }
  if (digits) {
    if (fst4_is_digit(c)) return at + (c - '0');
    at += 10;
  }
  if (letters) {
    if (fst4_is_letter(c)) return at + (c - 'A');
    at += 26;
  }
  if (slash && c == '/') return at;
  return -1;
}

/* Blank, digits, letters, '/': the 38 characters of hashed and 58-bit calls. */
static uint64_t index38(char c) { return (uint64_t)(int64_t)index_in(c, 1, 1, 1, 1); }

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
  /* Only letters and digits fit the six places: a call with '/' ("ER5A/MM")
     is hashed, never sent as another call. */
  for (i = 0; i < call.length; ++i) {
    if (!is_alnum(call.text[i])) return 0;
  }
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
   blank/letter (27) three times. Computed mod 2^32: only the low 28 bits
   are sent. */
static uint32_t standard_value(struct fst4_span call, size_t area) {
  char six[6];
  size_t pad = area == 2 ? 1u : 0u;
  size_t i;
  uint32_t s;
  for (i = 0; i < 6u; ++i) six[i] = (i >= pad && i - pad < call.length) ? call.text[i - pad] : ' ';
  s = (uint32_t)index_in(six[0], 1, 1, 1, 0);
  s = s * 36u + (uint32_t)index_in(six[1], 0, 1, 1, 0);
  s = s * 10u + (uint32_t)index_in(six[2], 0, 1, 0, 0);
  for (i = 3; i < 6u; ++i) s = s * 27u + (uint32_t)index_in(six[i], 1, 0, 1, 0);
  return s;
}

uint32_t fst4_pack28_call(struct fst4_span call) {
  size_t area = call.length == 0 || call.text[0] == '<' ? 0u : standard_area(call);
  if (area == 0) {
    /* Hashed: the call without its angle brackets. */
    struct fst4_span bare = call;
    size_t i;
    if (bare.length > 0 && bare.text[0] == '<') {
      ++bare.text;
      --bare.length;
    }
    for (i = 0; i < bare.length; ++i) {
      if (bare.text[i] == '>') bare.length = i;
    }
    return (uint32_t)((NTOKENS + fst4_hash_call(bare, 22)) & MASK28);
  }
  return (uint32_t)((NTOKENS + MAX22 + standard_value(call, area)) & MASK28);
}

int fst4_is_hash28(uint32_t c28) { return c28 >= NTOKENS && c28 < NTOKENS + MAX22; }

/* "CQ_nnn" (three digits) or "CQ_abcd" (one to four letters): 3 + nnn, or
   1003 + the letters right-aligned in four base-27 places (blank 0). */
static int cq_token(struct fst4_span word, uint32_t *value) {
  size_t i;
  size_t letters = 0;
  size_t digits = 0;
  uint32_t m = 0;
  if (word.length < 4 || word.length > 7 || word.text[0] != 'C' || word.text[1] != 'Q' || word.text[2] != '_') return 0;
  for (i = 3; i < word.length; ++i) {
    letters += fst4_is_letter(word.text[i]) ? 1u : 0u;
    digits += fst4_is_digit(word.text[i]) ? 1u : 0u;
  }
  if (letters + digits != word.length - 3) return 0;
  if (digits == 3 && letters == 0) {
    *value = 3u + (uint32_t)((word.text[3] - '0') * 100 + (word.text[4] - '0') * 10 + (word.text[5] - '0'));
    return 1;
  }
  if (letters >= 1 && letters <= 4 && digits == 0) {
    for (i = 0; i < 4u - letters; ++i) m = 27u * m;
    for (i = 3; i < word.length; ++i) m = 27u * m + (uint32_t)(word.text[i] - 'A' + 1);
    *value = 1003u + m;
    return 1;
  }
  return 0;
}

uint32_t fst4_pack28(struct fst4_span word) {
  uint32_t token;
  if (word.length == 2 && word.text[0] == 'D' && word.text[1] == 'E') return 0;
  if (word.length == 3 && word.text[0] == 'Q' && word.text[1] == 'R' && word.text[2] == 'Z') return 1;
  if (word.length == 2 && word.text[0] == 'C' && word.text[1] == 'Q') return 2;
  if (cq_token(word, &token)) return token;
  return fst4_pack28_call(word);
}

uint64_t fst4_pack58(struct fst4_span call) {
  uint64_t n = 0;
  size_t length = call.length > HASHED_CALL_WIDTH ? HASHED_CALL_WIDTH : call.length;
  size_t blanks = HASHED_CALL_WIDTH - length;
  size_t i;
  for (i = 0; i < HASHED_CALL_WIDTH; ++i) n = 38u * n + index38(i < blanks ? ' ' : call.text[i - blanks]);
  return n;
}
