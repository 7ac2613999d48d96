#include "fst4_words.h"

struct fst4_span fst4_word(const struct fst4_words *words, unsigned n) {
  struct fst4_span none;
  if (n >= 1 && n <= words->count) return words->word[n - 1];
  none.text = words->joined;
  none.length = 0;
  return none;
}

static int equals(struct fst4_span w, char a, char b) { return w.length == 2 && w.text[0] == a && w.text[1] == b; }

size_t fst4_normalise(const char *message, size_t length, char text[FST4_MAX_MESSAGE + 1]) {
  size_t n = 0;
  size_t i;
  if (length > FST4_MAX_MESSAGE) length = FST4_MAX_MESSAGE;
  for (i = 0; i < length; ++i) {
    char c = message[i] == '\0' ? ' ' : message[i];
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (c == ' ' && (n == 0 || text[n - 1] == ' ')) continue;
    text[n++] = c;
  }
  while (n > 0 && text[n - 1] == ' ') --n;
  text[n] = '\0';
  return n;
}

int fst4_past_field(const char *message, size_t length) {
  size_t i;
  for (i = FST4_MAX_MESSAGE; i < length; ++i) {
    if (message[i] != ' ' && message[i] != '\0') return 1;
  }
  return 0;
}

void fst4_split(const char *message, size_t length, struct fst4_words *words) {
  size_t n = fst4_normalise(message, length, words->text);
  size_t i;
  words->length = n;
  for (i = 0; i <= n; ++i) words->joined[i] = words->text[i];
  words->count = 0;
  for (i = 0; i < n;) {
    size_t start = i;
    while (i < n && words->text[i] != ' ') ++i;
    if (words->count < FST4_MAX_WORDS) {
      words->word[words->count].text = words->joined + start;
      words->word[words->count].length = i - start > FST4_MAX_WORD ? FST4_MAX_WORD : i - start;
      ++words->count;
    }
    ++i;
  }
  /* "CQ <word> <call>" becomes "CQ_<word> <call>" (the word cut to 10). */
  if (words->count >= 3 && equals(words->word[0], 'C', 'Q') && fst4_base_call(words->word[2], 0).length != 0) {
    size_t tail = words->word[1].length > 10u ? 10u : words->word[1].length;
    words->joined[2] = '_';
    words->word[0].length = 3 + tail;
    for (i = 2; i < words->count; ++i) words->word[i - 1] = words->word[i];
    --words->count;
  }
}

int fst4_is_grid4(struct fst4_span w) {
  return w.length == 4 && w.text[0] >= 'A' && w.text[0] <= 'R' && w.text[1] >= 'A' && w.text[1] <= 'R' &&
         fst4_is_digit(w.text[2]) && fst4_is_digit(w.text[3]);
}

int fst4_is_grid6(struct fst4_span w) {
  struct fst4_span head;
  head.text = w.text;
  head.length = 4;
  return w.length == 6 && fst4_is_grid4(head) && w.text[4] >= 'A' && w.text[4] <= 'X' && w.text[5] >= 'A' &&
         w.text[5] <= 'X';
}

uint32_t fst4_grid4_value(const char *g) {
  return ((uint32_t)(g[0] - 'A') * 18u + (uint32_t)(g[1] - 'A')) * 100u + (uint32_t)(g[2] - '0') * 10u +
         (uint32_t)(g[3] - '0');
}

int fst4_parse_int(struct fst4_span w, int32_t *value) {
  size_t i = 0;
  int negative = 0;
  int32_t v = 0;
  if (w.length > 0 && (w.text[0] == '+' || w.text[0] == '-')) {
    negative = w.text[0] == '-';
    i = 1;
  }
  if (i == w.length || w.length - i > 9) return 0;
  for (; i < w.length; ++i) {
    if (!fst4_is_digit(w.text[i])) return 0;
    v = v * 10 + (w.text[i] - '0');
  }
  *value = negative ? -v : v;
  return 1;
}

struct fst4_span fst4_bracketed(struct fst4_span w) {
  struct fst4_span inside;
  inside.text = w.text + 1;
  inside.length = 0;
  if (w.length < 3 || w.text[0] != '<' || w.text[w.length - 1] != '>') return inside;
  inside.length = w.length - 2;
  if (!fst4_in_call_alphabet(inside)) inside.length = 0;
  return inside;
}

void fst4_put_bits(uint8_t *bits, unsigned *at, uint32_t value, unsigned width) {
  while (width-- > 0) {
    if ((value >> width) & 1u) bits[*at >> 3] |= (uint8_t)(0x80u >> (*at & 7u));
    ++*at;
  }
}
