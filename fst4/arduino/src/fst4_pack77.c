/* Message text to the 77-bit payload, choosing the message type in the
   order of the reference packer (WSJT-X 2.6.1, lib/77bit/packjt77.f90,
   pack77): messages starting with CQ, DE or QRZ skip the DXpedition, Field
   Day and telemetry forms; telemetry is tried only for a single word; the
   first type that takes the message wins, free text takes the rest. A
   message whose payload the reference could not decode (it would send
   garbage) is refused here by the same rules, without decoding, and so is
   a field that would wrap into another value (a report past +-50); a
   payload that carries another text than the message (a cut, a rounding, a
   clip, a part the type has no room for) is packed all the same and says
   so: each packer knows what its fields drop and returns FST4_OTHER_TEXT
   for it, so no decoder is needed on the part. */
#include "fst4_pack77.h"

#include "fst4_words.h"

int fst4_is(struct fst4_span w, const char *text) {
  size_t i;
  for (i = 0; i < w.length; ++i) {
    if ((char)fst4_flash_byte(&text[i]) != w.text[i]) return 0;
  }
  return fst4_flash_byte(&text[w.length]) == '\0';
}

int fst4_starts(struct fst4_span w, const char *text) {
  size_t i;
  char c;
  for (i = 0; (c = (char)fst4_flash_byte(&text[i])) != '\0'; ++i) {
    if (i >= w.length || c != w.text[i]) return 0;
  }
  return 1;
}

int fst4_ends(struct fst4_span w, char a, char b) {
  return w.length >= 2 && w.text[w.length - 2] == a && w.text[w.length - 1] == b;
}

int fst4_has(struct fst4_span w, char c) {
  size_t i;
  for (i = 0; i < w.length; ++i) {
    if (w.text[i] == c) return 1;
  }
  return 0;
}

struct fst4_span fst4_cut(struct fst4_span w, size_t from, size_t count) {
  struct fst4_span part;
  part.text = w.text + (from < w.length ? from : w.length);
  part.length = from < w.length ? w.length - from : 0;
  if (part.length > count) part.length = count;
  return part;
}

void fst4_finish(uint8_t *payload, unsigned n3, unsigned i3) {
  unsigned at = 71;
  if (i3 == 0) fst4_put_bits(payload, &at, n3, 3);
  at = 74;
  fst4_put_bits(payload, &at, i3, 3);
}

int fst4_report_spelling(struct fst4_span w) {
  return (w.length == 2 || w.length == 3) && (w.text[0] == '+' || w.text[0] == '-') && fst4_is_digit(w.text[1]) &&
         fst4_is_digit(w.text[w.length - 1]);
}

/* Walks the list in flash once, comparing as it goes. */
int fst4_list_index(const char *list, struct fst4_span w) {
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

/* ---- The order of attempts ---- */

/* Starting with CQ, DE or QRZ; the reference compares the blank-padded
   field, so a lone CQ counts. */
static int addressed(const struct fst4_words *words) {
  struct fst4_span all;
  all.text = words->text;
  all.length = words->length;
  return fst4_starts(all, FST4_TEXT("CQ ")) || fst4_is(all, FST4_TEXT("CQ")) || fst4_starts(all, FST4_TEXT("DE ")) ||
         fst4_is(all, FST4_TEXT("DE")) || fst4_starts(all, FST4_TEXT("QRZ ")) || fst4_is(all, FST4_TEXT("QRZ"));
}

enum fst4_status fst4_pack77(const char *message, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES],
                             uint8_t *i3, uint8_t *n3) {
  struct fst4_words words;
  int result = FST4_PACK_NONE;
  int other_text = 0;
  unsigned i;
  fst4_split(message, length, &words);
  if (!fst4_carried(words.text, words.length)) return FST4_UNCARRIED_CHARACTER;
  for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
  if (!addressed(&words)) {
    result = fst4_pack_dxpedition(&words, payload);
    if (result == FST4_PACK_NONE) result = fst4_pack_field_day(&words, payload);
    if (result == FST4_PACK_NONE && words.count == 1) result = fst4_pack_telemetry(&words, payload);
  }
  if (result == FST4_PACK_NONE && fst4w_pack(words.text, words.length, wspr_hint, payload, &other_text) != FST4W_NONE) {
    result = other_text ? FST4_OTHER_TEXT : FST4_PACK_DONE;
  }
  if (result == FST4_PACK_NONE) result = fst4_pack_standard(&words, payload);
  if (result == FST4_PACK_NONE) result = fst4_pack_rtty(&words, payload);
  if (result == FST4_PACK_NONE) result = fst4_pack_nonstandard(&words, payload);
  if (result == FST4_PACK_NONE) result = fst4_pack_eu_vhf(&words, payload);
  if (result == FST4_PACK_NONE) result = fst4_pack_free_text(&words, payload);
  if (result != FST4_PACK_DONE && result != FST4_OTHER_TEXT) {
    for (i = 0; i < FST4_PAYLOAD_BYTES; ++i) payload[i] = 0;
    return (enum fst4_status)result;
  }
  /* i3 is payload bits 75..77, n3 bits 72..74. */
  *i3 = (uint8_t)(payload[9] >> 3 & 7u);
  *n3 = *i3 == 0 ? (uint8_t)((payload[8] & 1u) << 2 | payload[9] >> 6) : 0u;
  return result == FST4_OTHER_TEXT || fst4_past_field(message, length) ? FST4_OTHER_TEXT : FST4_OK;
}
