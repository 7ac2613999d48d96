// An FST4W beacon on RF: an Si5351A clock generator (I2C address 0x60, a 25
// MHz crystal, as on the common breakout boards) sends the 160 tones on
// CLK0 directly, for a low-pass filter and an amplifier. It needs no other
// library: the few register writes are below, over Wire (A4 SDA, A5 SCL on
// an Uno), with the register facts from Skyworks/Silicon Labs' Si5351 data
// sheet and application note AN619 ("Manually Generating an Si5351 Register
// Map"). Every slot it sends, 1 s after the slot's start, the beacon's
// message, or its pair in turn.
//
// The time source is the board's own clock from reset as 00:00:00 UTC (reset
// it on a slot boundary), or the UTC time typed over Serial (9600 baud) as
// "hh:mm:ss" at that second's start; a GPS or an RTC does better.
#include <FST4W.h>
#include <Wire.h>

// ---- The beacon ----
#define BEACON_CALL "K1ABC"
#define BEACON_GRID "FN42AB"  // 4 or 6 characters
#define BEACON_DBM 10
// T/R period in seconds: 120, 300, 900 or 1800.
#define BEACON_PERIOD 120
// Tone 0 in Hz: the dial frequency plus the audio offset (here 30 m: the
// WSPR/FST4W dial 10.1387 MHz plus 1500 Hz).
#define BEACON_FREQUENCY_HZ 10140200UL
// The Si5351's crystal, in Hz; trim it against a frequency counter.
#define SI5351_CRYSTAL_HZ 25000000UL

static_assert(FST4W_PERIOD(BEACON_PERIOD), "not a T/R period of FST4W");
static_assert(BEACON_FREQUENCY_HZ >= 1000000UL && BEACON_FREQUENCY_HZ <= 100000000UL, "1 to 100 MHz here");

// ---- The Si5351 (AN619, section 3 and the register map) ----
const uint8_t kSi5351Address = 0x60;
const uint8_t kOutputEnable = 3;       // register 3: CLKx_OEB, a 1 disables the output
const uint8_t kClock0Control = 16;     // register 16: CLK0 control
const uint8_t kPllAParameters = 26;    // registers 26-33: MSNA_P3, P1, P2 (feedback of PLL A)
const uint8_t kMultisynth0 = 42;       // registers 42-49: MS0_P3, P1, P2 (and R0_DIV in 44)
const uint8_t kPllReset = 177;         // register 177: PLLA_RST is bit 5
const uint8_t kCrystalLoad = 183;      // register 183: XTAL_CL in bits 7:6
// CLK0 control: powered up (bit 7 = 0), MS0 in integer mode (bit 6), PLL A
// as its source (bit 5 = 0), not inverted, MS0 drives CLK0 (bits 3:2 = 11),
// 8 mA (bits 1:0 = 11).
const uint8_t kClock0Setting = 0x4F;
// 10 pF crystal load (bits 7:6 = 11); bits 5:0 must be written 010010.
const uint8_t kCrystalLoadSetting = 0xD2;
// The feedback divider's fraction b / c: c at most 2^20 - 1.
const uint32_t kDenominator = 1048575UL;

void si5351Write(uint8_t reg, const uint8_t *values, uint8_t count) {
  Wire.beginTransmission(kSi5351Address);
  Wire.write(reg);  // the address increments with each byte written
  Wire.write(values, count);
  Wire.endTransmission();
}

void si5351Write(uint8_t reg, uint8_t value) { si5351Write(reg, &value, 1); }

// A multisynth divider a + b / c as its registers: P1 = 128 a + floor(128 b
// / c) - 512, P2 = 128 b - c floor(128 b / c), P3 = c, packed P3[15:8],
// P3[7:0], P1[17:16], P1[15:8], P1[7:0], P3[19:16] P2[19:16], P2[15:8],
// P2[7:0] (AN619, 3.2 and 4.1.2).
void si5351Divider(uint8_t reg, uint32_t a, uint32_t b, uint32_t c) {
  uint32_t f = (uint32_t)((128ULL * b) / c);
  uint32_t p1 = 128UL * a + f - 512UL;
  uint32_t p2 = 128UL * b - c * f;
  uint8_t values[8] = {(uint8_t)(c >> 8),  (uint8_t)c,  (uint8_t)((p1 >> 16) & 0x03),
                       (uint8_t)(p1 >> 8), (uint8_t)p1, (uint8_t)(((c >> 12) & 0xF0) | ((p2 >> 16) & 0x0F)),
                       (uint8_t)(p2 >> 8), (uint8_t)p2};
  si5351Write(reg, values, sizeof values);
}

// CLK0 = PLL A / MS0 with an even integer MS0 (the cleanest output), the PLL
// between 600 and 900 MHz (data sheet); the tones move PLL A's fraction.
uint32_t outputDivider;

void si5351Start() {
  outputDivider = (900000000UL / BEACON_FREQUENCY_HZ) & ~1UL;
  Wire.begin();
  si5351Write(kOutputEnable, 0xFF);
  si5351Write(kCrystalLoad, kCrystalLoadSetting);
  si5351Divider(kMultisynth0, outputDivider, 0, 1);
  si5351Write(kClock0Control, kClock0Setting);
}

// Tone frequency in hundredths of Hz: PLL A = f * divider = crystal * (a +
// b / c), b rounded (steps of crystal / c / divider, 0.27 Hz at 10 MHz).
void si5351Frequency(uint64_t centihertz) {
  uint64_t pll = centihertz * outputDivider;
  uint64_t crystal = SI5351_CRYSTAL_HZ * 100ULL;
  uint32_t a = (uint32_t)(pll / crystal);
  uint32_t b = (uint32_t)(((pll % crystal) * kDenominator + crystal / 2) / crystal);
  si5351Divider(kPllAParameters, a, b, kDenominator);
}

void si5351Output(bool on) {
  if (on) si5351Write(kPllReset, 0x20);  // the PLL locks anew at the start
  si5351Write(kOutputEnable, on ? 0xFE : 0xFF);
}

// ---- The beacon ----
const uint32_t kSlotMillis = BEACON_PERIOD * 1000UL;
const uint32_t kDayMillis = 86400000UL;
uint32_t dayMillis, lastMillis;
char messages[2][FST4_MAX_MESSAGE + 1];
uint8_t messageCount;
uint8_t tones[FST4_CHANNEL_SYMBOLS];

void keepTime() {  // millis() wraps after 49 days; the difference does not
  uint32_t now = millis();
  dayMillis = (dayMillis + (now - lastMillis)) % kDayMillis;
  lastMillis = now;
  static char line[9];
  static uint8_t length;
  while (Serial.available() > 0) {
    char c = Serial.read();
    if (c != '\r' && c != '\n') {
      if (length < 8) line[length] = c;
      ++length;
      continue;
    }
    if (length == 8 && line[2] == ':' && line[5] == ':') {
      uint32_t hours = (line[0] - '0') * 10 + (line[1] - '0');
      uint32_t minutes = (line[3] - '0') * 10 + (line[4] - '0');
      uint32_t seconds = (line[6] - '0') * 10 + (line[7] - '0');
      if (hours < 24 && minutes < 60 && seconds < 60) dayMillis = ((hours * 60 + minutes) * 60 + seconds) * 1000UL;
    }
    length = 0;
  }
}

// The 160 tones, each FST4_SYMBOL_MICROSECONDS long, timed from the start
// (the rounding stays under 1 us a symbol), while the clock keeps counting.
void transmit() {
  const uint64_t base = BEACON_FREQUENCY_HZ * 100ULL;
  si5351Frequency(base + tones[0] * (uint64_t)FST4_TONE_SPACING_CENTIHERTZ(BEACON_PERIOD));
  si5351Output(true);
  uint32_t start = micros();
  for (uint8_t i = 1; i <= FST4_CHANNEL_SYMBOLS; ++i) {
    while (micros() - start < i * FST4_SYMBOL_MICROSECONDS(BEACON_PERIOD)) keepTime();
    if (i < FST4_CHANNEL_SYMBOLS) {
      si5351Frequency(base + tones[i] * (uint64_t)FST4_TONE_SPACING_CENTIHERTZ(BEACON_PERIOD));
    }
  }
  si5351Output(false);
}

void setup() {
  Serial.begin(9600);
  si5351Start();
  messageCount = fst4w_beacon_messages(BEACON_CALL, BEACON_GRID, BEACON_DBM, messages[0], messages[1]);
  if (messageCount == 0) Serial.println(F("not a call and locator a beacon can send"));
  lastMillis = millis();
}

void loop() {
  static uint32_t sentSlot = 0xFFFFFFFFUL;
  keepTime();
  if (messageCount == 0) return;
  uint32_t slot = dayMillis / kSlotMillis;
  uint32_t into = dayMillis % kSlotMillis;
  // Start 1 s into the slot; a slot whose start was missed by more than a
  // few ms (just reset, or the time set) is left out.
  const uint32_t start = FST4_START_MILLISECONDS(BEACON_PERIOD);
  if (slot == sentSlot || into < start || into > start + 20) return;
  sentSlot = slot;
  const char *message = messages[slot % messageCount];
  enum fst4_status status = fst4w_encode(message, 1, tones);
  Serial.print(message);
  if (status != FST4_OK) {
    Serial.print(F(": refused, "));
    Serial.println((const __FlashStringHelper *)fst4_status_text(status));
    return;
  }
  Serial.println();
  transmit();
}
