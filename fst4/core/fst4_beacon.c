/* What a beacon works out at run time: its locator from a position, the
   power FST4W can carry and the messages to send (the timing of a slot is
   fst4_timing.c). */
#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

#include "fst4_call.h"
#include "fst4_words.h"

/* Maidenhead locator (IARU Region 1, 1980): fields of 20 x 10 degrees
   (A..R), squares of 2 x 1 degrees (0..9), subsquares of 5 x 2.5 minutes
   (A..X, 24 per square). Positions in millionths of a degree. */
#define LON_FIELD 20000000L
#define LON_SQUARE 2000000L
#define LAT_FIELD 10000000L
#define LAT_SQUARE 1000000L
#define SUBSQUARES 24L
#define MICRO_180 180000000L
#define MICRO_90 90000000L

int fst4_grid_locator(int32_t latitude_e6, int32_t longitude_e6, unsigned length, char grid[7]) {
  long lon = (long)longitude_e6 + MICRO_180;
  long lat = (long)latitude_e6 + MICRO_90;
  if (grid == NULL || (length != 4 && length != 6) || lon < 0 || lon > 2 * MICRO_180 || lat < 0 || lat > 2 * MICRO_90) return -1;
  /* The east and north edges belong to the last field. */
  if (lon == 2 * MICRO_180) --lon;
  if (lat == 2 * MICRO_90) --lat;
  grid[0] = (char)('A' + lon / LON_FIELD);
  grid[1] = (char)('A' + lat / LAT_FIELD);
  grid[2] = (char)('0' + lon % LON_FIELD / LON_SQUARE);
  grid[3] = (char)('0' + lat % LAT_FIELD / LAT_SQUARE);
  grid[4] = (char)('A' + lon % LON_SQUARE * SUBSQUARES / LON_SQUARE);
  grid[5] = (char)('A' + lat % LAT_SQUARE * SUBSQUARES / LAT_SQUARE);
  grid[length] = '\0';
  return 0;
}

/* FST4W sends p5 = nint(0.3 dBm) for 0..60 dBm and the receiver shows
   nint(p5 * 10 / 3) (WSJT-X 2.6.1, lib/77bit/packjt77.f90, pack77_06). */
int fst4w_carried_power(int dbm) {
  int p5;
  if (dbm < 0) dbm = 0;
  if (dbm > 60) dbm = 60;
  p5 = (3 * dbm + 5) / 10;
  return (p5 * 20 + 3) / 6;
}

/* Appends `text` to `out` at `*at`, keeping room for the terminator. */
static void append(char *out, size_t *at, const char *text, size_t length) {
  size_t i;
  for (i = 0; i < length && *at < FST4_MAX_MESSAGE; ++i) out[(*at)++] = text[i];
  out[*at] = '\0';
}

static void append_power(char *out, size_t *at, int dbm) {
  char digits[3];
  size_t n = 0;
  if (dbm >= 10) digits[n++] = (char)('0' + dbm / 10);
  digits[n++] = (char)('0' + dbm % 10);
  append(out, at, digits, n);
}

/* Copies at most `room` characters of `text`, upper-cased, into `out`; the
   length, or room + 1 when the text is longer. */
static size_t upper_copy(const char *text, char *out, size_t room) {
  size_t n = 0;
  for (; text[n] != '\0'; ++n) {
    char c = text[n];
    if (n == room) return room + 1;
    out[n] = c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
  }
  return n;
}

/* Whether fst4w_encode sends `message` as it is (with the hint or not). */
static int sent_as_typed(const char *message, int wspr_hint) {
  uint8_t payload[FST4_PAYLOAD_BYTES];
  size_t length = 0;
  int other_text = 0;
  while (message[length] != '\0') ++length;
  return fst4w_pack(message, length, wspr_hint, payload, &other_text) != FST4W_NONE && !other_text;
}

#define LONGEST_CALL 11u
#define LONGEST_GRID 6u

int fst4w_beacon_messages(const char *call, const char *grid, int dbm, char first[FST4_MAX_MESSAGE + 1],
                          char second[FST4_MAX_MESSAGE + 1]) {
  char call_text[LONGEST_CALL];
  char grid_text[LONGEST_GRID];
  struct fst4_span word;
  struct fst4_span locator;
  size_t at = 0;
  int compound;
  if (call == NULL || grid == NULL || first == NULL || second == NULL) return 0;
  first[0] = second[0] = '\0';
  word.text = call_text;
  word.length = upper_copy(call, call_text, LONGEST_CALL);
  locator.text = grid_text;
  locator.length = upper_copy(grid, grid_text, LONGEST_GRID);
  if (fst4_base_call(word, 0).length == 0 || !(fst4_is_grid4(locator) || fst4_is_grid6(locator))) return 0;
  compound = fst4_base_call(word, 0).length != word.length;
  append(first, &at, call_text, word.length);
  if (!compound) {
    append(first, &at, " ", 1);
    append(first, &at, grid_text, 4);
  }
  append(first, &at, " ", 1);
  append_power(first, &at, fst4w_carried_power(dbm));
  if (compound || locator.length == 6) {
    at = 0;
    append(second, &at, "<", 1);
    append(second, &at, call_text, word.length);
    append(second, &at, "> ", 2);
    append(second, &at, grid_text, locator.length);
  }
  /* Only what fst4w_encode sends as it is: a prefix or suffix the field
     cannot hold ("K1ABC/QRP", "PJ4A/K1ABC") gives nothing. */
  if (!sent_as_typed(first, 0) || (second[0] != '\0' && !sent_as_typed(second, 1))) {
    first[0] = second[0] = '\0';
    return 0;
  }
  return second[0] == '\0' ? 1 : 2;
}
