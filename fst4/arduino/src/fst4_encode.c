/* The C entry for every message type: text, payload, information word,
   tones, with the packed words on the stack and nothing else. */
#include <fst4/fst4.h>

enum fst4_status fst4_encode(const char *message, int wspr_hint, uint8_t symbols[FST4_CHANNEL_SYMBOLS], int *fst4w) {
  uint8_t payload[FST4_PAYLOAD_BYTES];
  uint8_t info[FST4_INFO_BYTES];
  uint8_t i3 = 0;
  uint8_t n3 = 0;
  size_t length = 0;
  int is_fst4w;
  enum fst4_status status;
  if (message == NULL || symbols == NULL) return FST4_NULL_ARGUMENT;
  while (message[length] != '\0') ++length;
  status = fst4_pack77(message, length, wspr_hint, payload, &i3, &n3);
  if (status != FST4_OK && status != FST4_OTHER_TEXT) return status;
  is_fst4w = i3 == 0 && n3 == 6;
  fst4_information_word(payload, is_fst4w, info);
  fst4_channel_symbols(info, is_fst4w, symbols);
  if (fst4w) *fst4w = is_fst4w;
  return status;
}
