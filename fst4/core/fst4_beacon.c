/* What a beacon works out at run time: its locator from a position, the
   power FST4W can carry and the messages to send (the timing of a slot is
   fst4_timing.c). */
#include <fst4/fst4.h>
#include <fst4/fst4_flash.h>

#include "fst4_call.h"

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
  if ((length != 4 && length != 6) || lon < 0 || lon > 2 * MICRO_180 || lat < 0 || lat > 2 * MICRO_90) return -1;
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

static size_t length_of(const char *text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
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

int fst4w_beacon_messages(const char *call, const char *grid, int dbm, char first[FST4_MAX_MESSAGE + 1],
                          char second[FST4_MAX_MESSAGE + 1]) {
  struct fst4_span word;
  size_t grid_length = length_of(grid);
  size_t at = 0;
  int compound;
  word.text = call;
  word.length = length_of(call);
  if (fst4_base_call(word, 0).length == 0 || (grid_length != 4 && grid_length != 6)) return 0;
  compound = fst4_base_call(word, 0).length != word.length;
  first[0] = second[0] = '\0';
  append(first, &at, call, word.length);
  if (!compound) {
    append(first, &at, " ", 1);
    append(first, &at, grid, 4);
  }
  append(first, &at, " ", 1);
  append_power(first, &at, fst4w_carried_power(dbm));
  if (!compound && grid_length == 4) return 1;
  at = 0;
  append(second, &at, "<", 1);
  append(second, &at, call, word.length);
  append(second, &at, "> ", 2);
  append(second, &at, grid, grid_length);
  return 2;
}
