/* The C entry for FST4W: message text to channel symbols, with nothing but
   the caller's 160 tones, a 38-byte copy of the message and a few words of
   stack (the payload and information word, packed). */
#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

/* The message as the packer reads it: its first FST4_MAX_MESSAGE
   characters, leading blanks skipped, upper-cased, runs of blanks
   collapsed to one, no trailing blank. Returns the length. */
static size_t normalise(const char *message, char text[FST4_MAX_MESSAGE + 1]) {
  size_t length = 0;
  size_t i;
  for (i = 0; i < FST4_MAX_MESSAGE && message[i] != '\0'; ++i) {
    char c = message[i];
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (c == ' ' && (length == 0 || text[length - 1] == ' ')) continue;
    text[length++] = c;
  }
  while (length > 0 && text[length - 1] == ' ') --length;
  text[length] = '\0';
  return length;
}

static const char ok_text[] FST4_FLASH = "encoded";
static const char uncarried_text[] FST4_FLASH =
    "the message has a character no message type carries (only letters, digits, blanks and + - . / ? < > ;)";
static const char not_fst4w_text[] FST4_FLASH =
    "not an FST4W message (CALL GRID4 dBm, PFX/CALL dBm, CALL/SFX dBm, or <CALL> GRID with the hint)";

static const char free_text_text[] FST4_FLASH = "free text carries only letters, digits, blanks and + - . / ?";
static const char report_text[] FST4_FLASH = "report out of range";
static const char class_text[] FST4_FLASH = "Field Day class must be A to H";
static const char plain_calls_text[] FST4_FLASH = "two calls, one with a prefix or suffix: put one of them in <>";
static const char not_decode_text[] FST4_FLASH = "message cannot be encoded (it would not decode)";
static const char empty_text[] FST4_FLASH = "message would decode as empty text";

const char *fst4_status_text(enum fst4_status status) {
  switch (status) {
    case FST4_UNCARRIED_CHARACTER: return uncarried_text;
    case FST4_NOT_FST4W: return not_fst4w_text;
    case FST4_FREE_TEXT_CHARACTER: return free_text_text;
    case FST4_REPORT_RANGE: return report_text;
    case FST4_FIELD_DAY_CLASS: return class_text;
    case FST4_TWO_PLAIN_CALLS: return plain_calls_text;
    case FST4_WOULD_NOT_DECODE: return not_decode_text;
    case FST4_EMPTY_DECODE: return empty_text;
    case FST4_OK: break;
  }
  return ok_text;
}

enum fst4_status fst4w_encode(const char *message, int wspr_hint, uint8_t symbols[FST4_CHANNEL_SYMBOLS]) {
  char text[FST4_MAX_MESSAGE + 1];
  uint8_t payload[FST4_PAYLOAD_BYTES];
  uint8_t info[FST4_INFO_BYTES];
  size_t length = normalise(message, text);
  if (!fst4_carried(text, length)) return FST4_UNCARRIED_CHARACTER;
  if (fst4w_pack(text, length, wspr_hint, payload) == FST4W_NONE) return FST4_NOT_FST4W;
  fst4_information_word(payload, 1, info);
  fst4w_channel_symbols(info, symbols);
  return FST4_OK;
}
