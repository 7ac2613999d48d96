/* Free text (0.0) and telemetry (0.5): packjt77.f90, packtext77 and
   pack77_05 (WSJT-X 2.6.1). */
#include "fst4_pack77.h"

#include "fst4_words.h"

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

int fst4_pack_free_text(const struct fst4_words *words, uint8_t *payload) {
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
  fst4_finish(payload, 0, 0);
  /* Only the first 13 characters are sent. */
  return words->length > TEXT_LENGTH ? FST4_OTHER_TEXT : FST4_PACK_DONE;
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

int fst4_pack_telemetry(const struct fst4_words *words, uint8_t *payload) {
  /* The message itself (not the word cut to 13), its first 18 characters. */
  size_t length = words->length < TELEMETRY_DIGITS ? words->length : TELEMETRY_DIGITS;
  size_t blanks = TELEMETRY_DIGITS - length;
  char padded[TELEMETRY_DIGITS];
  struct fst4_span sent;
  uint32_t parts[3];
  unsigned at = 0;
  size_t i;
  for (i = 0; i < TELEMETRY_DIGITS; ++i) padded[i] = i < blanks ? ' ' : words->text[i - blanks];
  for (i = 0; i < 3u; ++i) {
    if (!telemetry_field(padded + 6u * i, 6u, &parts[i])) return FST4_PACK_NONE;
  }
  /* Too large for 71 bits: free text instead. */
  if (parts[0] >= TELEMETRY_FIRST_LIMIT) return fst4_pack_free_text(words, payload);
  /* All zero decodes as nothing at all. */
  if (parts[0] == 0 && parts[1] == 0 && parts[2] == 0) return FST4_EMPTY_DECODE;
  fst4_put_bits(payload, &at, parts[0], 23);
  fst4_put_bits(payload, &at, parts[1], 24);
  fst4_put_bits(payload, &at, parts[2], 24);
  fst4_finish(payload, 5, 0);
  /* Only 18 digits are sent, and a '+' is read as a sign, not shown. */
  sent.text = words->text;
  sent.length = length;
  return length < words->length || fst4_has(sent, '+') ? FST4_OTHER_TEXT : FST4_PACK_DONE;
}
