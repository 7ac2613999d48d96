/* FST4 / FST4W channel symbols from C or C++, for beacons on 8-bit and
   16-bit parts as well as hosts: no heap, no exceptions, no C++ library,
   constant tables in flash (fst4_flash.h), correct where int has 16 bits.

   Encoding returns FST4_OK only when the symbols carry the message as typed
   (letter case and blanks aside, and the protocol's own spellings: a report
   "-5" shown as "-05", a number without its leading zeros, a hashed call in
   <>). FST4_OTHER_TEXT gives the symbols too, but a receiver will show
   another text (free text cut to 13 characters, a power rounded to one
   FST4W carries, ...): send them or not, as the beacon chooses. Any other
   status refuses the message, and the symbols are left as they were; a
   field the message cannot fit without turning into another value (a
   report beyond -50..+50) is refused. fst4_status_text says it in words.

   NULL: the message and the symbols of the encoders, and every argument of
   fst4w_beacon_messages and fst4_grid_locator, are checked (FST4_NULL_ARGUMENT,
   0, -1); `fst4w` of fst4_encode may be NULL. The other functions take no
   NULL. */
#ifndef FST4_H
#define FST4_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define FST4_CHANNEL_SYMBOLS 160
/* Longest message the payload is packed from (characters). */
#define FST4_MAX_MESSAGE 37
/* Payload (77 bits) and information word (up to 101 bits), packed MSB
   first, bits past the end zero. */
#define FST4_PAYLOAD_BYTES 10
#define FST4_INFO_BYTES 13

/* ---- Encoding ---- */

enum fst4_status {
  FST4_OK = 0,
  FST4_UNCARRIED_CHARACTER,  /* a character no message type carries */
  FST4_NOT_FST4W,            /* not one of the FST4W forms (fst4w_encode) */
  FST4_FREE_TEXT_CHARACTER,  /* free text with < > or ; */
  FST4_REPORT_RANGE,         /* a report beyond its field */
  FST4_FIELD_DAY_CLASS,      /* a Field Day class after H */
  FST4_TWO_PLAIN_CALLS,      /* two calls, the second compound, neither in <> */
  FST4_WOULD_NOT_DECODE,     /* a payload no receiver decodes (CQ <call>, CQ with a report, empty text) */
  FST4_EMPTY_DECODE,         /* a payload that decodes as nothing (all-zero telemetry) */
  /* Not a refusal: the symbols are given, but they carry another text than
     the message as typed (free text cut to 13 characters, a power or report
     rounded to one the field carries, a serial clipped to its field, a call's
     prefix or suffix or a word the message type has no room for left out). */
  FST4_OTHER_TEXT,
  FST4_NULL_ARGUMENT         /* the message or the symbols are NULL */
};

/* The 160 tones (0..3) of an FST4W message: "CALL GRID4 dBm", "PFX/CALL dBm"
   or "CALL/SFX dBm", and with wspr_hint "<CALL> GRID4" or "<CALL> GRID6".
   Any other message is refused, and so is a prefix or suffix the field
   cannot give back as it is ("K1ABC/123", "0K/W9XYZ", more than three
   characters). A power other than 0, 3, 7, 10 ... 60 gives FST4_OTHER_TEXT
   (fst4w_carried_power). A beacon that sends FST4W alone links this
   and not the FST4 message types (fst4_encode): about a third of the flash. */
enum fst4_status fst4w_encode(const char *message, int wspr_hint, uint8_t symbols[FST4_CHANNEL_SYMBOLS]);

/* The 160 tones of any FST4 or FST4W message (the frame is FST4W exactly
   when the message is of type 0.6); `fst4w`, when not NULL, says which. */
enum fst4_status fst4_encode(const char *message, int wspr_hint, uint8_t symbols[FST4_CHANNEL_SYMBOLS], int *fst4w);

/* Why a message was refused (or FST4_OK, FST4_OTHER_TEXT), in words; a value
   that is no status is named "unknown status". The text is in flash (fst4_flash.h):
   on an AVR read it with pgm_read_byte, or print it from a sketch with
   Serial.print((const __FlashStringHelper *)text); elsewhere it is an
   ordinary string. */
const char *fst4_status_text(enum fst4_status status);

/* ---- Beacon helpers ---- */

/* Maidenhead locator of a position given in millionths of a degree
   (north and east positive), 4 or 6 characters plus NUL into `grid`.
   Returns 0, or -1 for another length, a position off the globe or a NULL
   `grid`. */
int fst4_grid_locator(int32_t latitude_e6, int32_t longitude_e6, unsigned length, char grid[7]);

/* The power FST4W carries nearest to `dbm`: the field holds dBm * 0.3 in
   steps of one, so 0, 3, 7, 10, 13, 17 ... 60 dBm are sent. */
int fst4w_carried_power(int dbm);

/* The messages a beacon sends for its call, grid (4 or 6 characters) and
   power: one type-1 message "CALL GRID4 dBm" for a plain call and 4-char
   grid; for a 6-char grid, or a compound call ("PJ4/K1ABC", "K1ABC/P"), the
   pair "CALL GRID4 dBm" (or "PFX/CALL dBm") then "<CALL> GRID6" (send the
   second with wspr_hint). Call and grid are read in any letter case and
   written upper-cased. Writes each as a NUL-terminated text of at most
   FST4_MAX_MESSAGE characters and returns how many (1 or 2); each is one
   fst4w_encode sends as it is (FST4_OK). Returns 0, with both texts empty,
   when the call or grid cannot be sent so: a call that is none, a prefix
   or suffix the field cannot hold ("K1ABC/QRP", "PJ4A/K1ABC"), a grid that
   is no Maidenhead locator (fields A to R, squares 0 to 9, subsquares A to
   X), or a NULL argument. */
int fst4w_beacon_messages(const char *call, const char *grid, int dbm, char first[FST4_MAX_MESSAGE + 1],
                          char second[FST4_MAX_MESSAGE + 1]);

/* ---- Timing of a beacon: integers only ---- */

/* Samples per symbol at WSJT-X's 12000 samples/s for each T/R period in
   seconds (WSJT-X 2.6.1, lib/fst4/fst4sim.f90, nsps): FST4 uses all seven,
   FST4W 120 s and up. 0 for any other period. With a constant period each
   macro below is a constant expression, for sketches that know their period
   (check it with a static assertion of FST4W_PERIOD, or of a nonzero
   FST4_SAMPLES_PER_SYMBOL for FST4). */
#define FST4_SAMPLES_PER_SYMBOL(period)                                                                 \
  ((period) == 15 ? 720UL : (period) == 30 ? 1680UL : (period) == 60 ? 3888UL : (period) == 120 ? 8200UL \
   : (period) == 300 ? 21504UL : (period) == 900 ? 66560UL : (period) == 1800 ? 134400UL : 0UL)
#define FST4_SAMPLE_RATE 12000UL
/* Whether FST4W has this T/R period (FST4 has every one with samples above). */
#define FST4W_PERIOD(period) ((period) >= 120 && FST4_SAMPLES_PER_SYMBOL(period) != 0UL)
/* WSJT-X starts an FST4 or FST4W transmission 1.0 s after the slot boundary,
   0.5 s in the 15 s slots (slots start at multiples of the period from the
   full hour, UTC); its decoder reports a signal started there at DT 0.0.
   (Measured from the audio WSJT-X's fst4sim writes.) */
#define FST4_START_MILLISECONDS(period) ((period) == 15 ? 500U : 1000U)
/* One symbol, nsps / 12000 s = nsps * 250 / 3 us, rounded (the error stays
   under 1 us, 53 us over a whole transmission). */
#define FST4_SYMBOL_MICROSECONDS(period) \
  ((FST4_SAMPLES_PER_SYMBOL(period) * 250UL + 1UL) / 3UL)
/* The tone spacing, equal to the symbol rate 12000 / nsps Hz, in hundredths
   of a hertz, rounded (the unit Si5351 libraries take). */
#define FST4_TONE_SPACING_CENTIHERTZ(period) \
  ((FST4_SAMPLE_RATE * 100UL + FST4_SAMPLES_PER_SYMBOL(period) / 2UL) / FST4_SAMPLES_PER_SYMBOL(period))
/* The 160 symbols, nsps * 160 / 12 ms = nsps * 40 / 3 ms, rounded. */
#define FST4_TRANSMISSION_MILLISECONDS(period) \
  ((FST4_SAMPLES_PER_SYMBOL(period) * 40UL + 1UL) / 3UL)

/* The same figures for a period known at run time. */
struct fst4_timing {
  uint16_t period_seconds;             /* T/R period: one transmission per slot */
  uint16_t start_milliseconds;         /* FST4_START_MILLISECONDS(period) after the slot boundary */
  uint32_t samples_per_symbol;         /* nsps at 12000 samples/s: the exact symbol length */
  uint32_t symbol_microseconds;        /* length of one of the 160 symbols, rounded */
  uint16_t tone_spacing_centihertz;    /* tone spacing in hundredths of Hz, rounded */
  uint32_t transmission_milliseconds;  /* 160 symbols, rounded */
};
/* Fills `timing` for an FST4 period (15, 30, 60, 120, 300, 900 or 1800 s)
   and returns 0, or returns -1 for another period. */
int fst4_period_timing(unsigned period_seconds, struct fst4_timing *timing);
/* The same for an FST4W period (120, 300, 900 or 1800 s); -1 for another. */
int fst4w_timing(unsigned period_seconds, struct fst4_timing *timing);

/* ---- The frame, shared with the C++ library ---- */

/* CRC-24 of `count` packed bits followed by 24 zero bits. */
uint32_t fst4_crc24(const uint8_t *bits, unsigned count);
/* Scrambled payload + CRC (FST4, 101 bits) or the first 50 payload bits +
   CRC (FST4W, 74 bits), packed into `info`. */
void fst4_information_word(const uint8_t payload[FST4_PAYLOAD_BYTES], int fst4w, uint8_t info[FST4_INFO_BYTES]);
/* Parity bit `row` of the LDPC codeword, from its generator row in flash. */
uint8_t fst4_parity_bit(const uint8_t info[FST4_INFO_BYTES], int fst4w, unsigned row);
/* The 160 tones of an information word (the codeword is never stored). */
void fst4_channel_symbols(const uint8_t info[FST4_INFO_BYTES], int fst4w, uint8_t symbols[FST4_CHANNEL_SYMBOLS]);
/* The same for FST4W alone, linking only the FST4W generator. */
void fst4w_channel_symbols(const uint8_t info[FST4_INFO_BYTES], uint8_t symbols[FST4_CHANNEL_SYMBOLS]);

/* ---- The FST4W packer, shared with the C++ library ---- */

enum fst4w_type { FST4W_NONE = 0, FST4W_TYPE1 = 1, FST4W_TYPE2 = 2, FST4W_TYPE3 = 3 };
/* Packs an upper-cased message whose words are separated by single blanks
   (`length` characters) into the 77-bit payload of type 0.6; returns which
   FST4W type it is, or FST4W_NONE when it is none (a prefix or suffix the
   field cannot hold included). `*other_text` is set to 1 when the receiver
   would show another power than the one typed, else 0. No argument may be
   NULL. */
enum fst4w_type fst4w_pack(const char *text, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES],
                           int *other_text);

/* Packs `length` characters of `message` (NULs count as blanks; only the
   first FST4_MAX_MESSAGE are read, and anything but blanks after them makes
   FST4_OTHER_TEXT) into the 77-bit payload, with its type i3 and, for
   i3 = 0, subtype n3. Returns FST4_OK or FST4_OTHER_TEXT with the payload
   filled, or the refusal with the payload zero. No argument may be NULL. */
enum fst4_status fst4_pack77(const char *message, size_t length, int wspr_hint, uint8_t payload[FST4_PAYLOAD_BYTES],
                             uint8_t *i3, uint8_t *n3);

/* Whether some message type carries every character of `text`: letters,
   digits, blank, + - . / ? and < > ; (WSJT-X 2.6.1, lib/77bit/packjt77.f90). */
int fst4_carried(const char *text, size_t length);

#ifdef __cplusplus
}
#endif

#endif
