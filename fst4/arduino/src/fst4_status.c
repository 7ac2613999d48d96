/* Why a message is refused, in words; the texts stay in flash. A value
   outside the enumeration (a cast, a newer library's) is named unknown. */
#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

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
static const char other_text[] FST4_FLASH =
    "encoded, but the symbols carry another text than the message (cut, rounded, clipped or a part left out)";
static const char null_text[] FST4_FLASH = "no message or no room for the symbols (NULL)";
static const char unknown_text[] FST4_FLASH = "unknown status";

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
    case FST4_OTHER_TEXT: return other_text;
    case FST4_NULL_ARGUMENT: return null_text;
    case FST4_OK: return ok_text;
  }
  return unknown_text;
}
