// The tone printer: learns a beacon's call, position and power at run time
// and prints what the beacon would send: type over Serial (9600 baud) a
// line such as
//   K1ABC 42.3601 -71.0589 37
// and it answers with the message(s), the 160 tones of each, and the timing
// a transmitter (an Si5351 library, say) needs for the T/R period below.
// FST4WAudioBeacon and FST4WSi5351Beacon send them.
#include <FST4W.h>

// The T/R period in seconds: FST4W has 120, 300, 900 and 1800.
const unsigned kPeriodSeconds = 120;
char call[12];
uint8_t tones[FST4_CHANNEL_SYMBOLS];

void printStatus(enum fst4_status status) {
  Serial.print(F("refused: "));
  Serial.println((const __FlashStringHelper *)fst4_status_text(status));
}

void send(const char *message, int hint) {
  enum fst4_status status = fst4w_encode(message, hint, tones);
  Serial.print(message);
  Serial.print(F(": "));
  if (status != FST4_OK) {
    printStatus(status);
    return;
  }
  for (unsigned i = 0; i < FST4_CHANNEL_SYMBOLS; ++i) Serial.print(tones[i]);
  Serial.println();
}

void setup() {
  Serial.begin(9600);
  Serial.println(F("call latitude longitude dBm?"));
}

void loop() {
  if (Serial.available() == 0) return;
  size_t length = Serial.readBytesUntil(' ', call, sizeof call - 1);
  call[length] = '\0';
  float latitude = Serial.parseFloat();
  float longitude = Serial.parseFloat();
  int dbm = Serial.parseInt();
  while (Serial.available() > 0) Serial.read();

  char grid[7];
  if (fst4_grid_locator((int32_t)(latitude * 1e6f), (int32_t)(longitude * 1e6f), 6, grid) != 0) {
    Serial.println(F("position off the globe"));
    return;
  }
  char first[FST4_MAX_MESSAGE + 1];
  char second[FST4_MAX_MESSAGE + 1];
  int count = fst4w_beacon_messages(call, grid, dbm, first, second);
  if (count == 0) {
    Serial.println(F("not a call this beacon can send"));
    return;
  }
  send(first, 0);
  if (count == 2) send(second, 1);

  struct fst4_timing timing;
  if (fst4w_timing(kPeriodSeconds, &timing) != 0) {
    Serial.println(F("not a T/R period of FST4W"));
    return;
  }
  Serial.print(F("symbol "));
  Serial.print(timing.symbol_microseconds);
  Serial.print(F(" us, tone spacing "));
  Serial.print(timing.tone_spacing_centihertz);
  Serial.print(F(" cHz, slot "));
  Serial.print(timing.period_seconds);
  Serial.print(F(" s, start "));
  Serial.print(timing.start_milliseconds);
  Serial.print(F(" ms into it, "));
  Serial.print(timing.transmission_milliseconds);
  Serial.println(F(" ms long"));
}
