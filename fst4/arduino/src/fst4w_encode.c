/* The C entry for FST4W: message text to channel symbols, with nothing but
   the caller's 160 tones, a 38-byte copy of the message and a few words of
   stack (the payload and information word, packed). */
#include <fst4/fst4.h>
#include "fst4_words.h"

enum fst4_status fst4w_encode(const char *message, int wspr_hint, uint8_t symbols[FST4_CHANNEL_SYMBOLS]) {
  char text[FST4_MAX_MESSAGE + 1];
  uint8_t payload[FST4_PAYLOAD_BYTES];
  uint8_t info[FST4_INFO_BYTES];
  size_t length = 0;
  int other_text = 0;
  int past_field;
  if (message == NULL || symbols == NULL) return FST4_NULL_ARGUMENT;
  while (message[length] != '\0') ++length;
  past_field = fst4_past_field(message, length);
  length = fst4_normalise(message, length, text);
  if (!fst4_carried(text, length)) return FST4_UNCARRIED_CHARACTER;
  if (fst4w_pack(text, length, wspr_hint, payload, &other_text) == FST4W_NONE) return FST4_NOT_FST4W;
  other_text = other_text || past_field;
  fst4_information_word(payload, 1, info);
  fst4w_channel_symbols(info, symbols);
  return other_text ? FST4_OTHER_TEXT : FST4_OK;
}
