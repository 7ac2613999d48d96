// An FST4W audio beacon for an ATmega328P board (Uno, Nano): the 160 tones
// as a square wave on pin 9 (OC1A, made by Timer1 alone, so the tones keep
// their exact frequency and phase whatever the sketch does), for the audio
// input of an SSB transmitter in USB through a low-pass filter and a divider
// (say 10 kOhm and 100 nF, then 100:1); pin 8 is high while sending (PTT).
// Every slot it sends, 1 s after the slot's start, the beacon's message, or
// its pair in turn (a 6-character locator or a compound call needs two).
//
// The time source is the board's own clock, counting from reset as
// 00:00:00 UTC: reset it on a slot boundary (an even minute for 120 s), or
// type the UTC time over Serial (9600 baud) as "hh:mm:ss" at that second's
// start. A GPS's pulse per second or an RTC (setting dayMillis) does better:
// FST4W-120 wants the start within about a second, the slower periods less.
#include <FST4W.h>

// ---- The beacon ----
#define BEACON_CALL "K1ABC"
#define BEACON_GRID "FN42AB"  // 4 or 6 characters
#define BEACON_DBM 37
// Or one message of your own instead of the pair: FST4W with BEACON_FST4W 1
// ("K1ABC FN42 37", "PJ4/K1ABC 37", "<K1ABC> FN42AB"), any FST4 message with 0.
// #define BEACON_MESSAGE "CQ K1ABC FN42"
#define BEACON_FST4W 1
// T/R period in seconds: FST4W 120, 300, 900, 1800; FST4 also 15, 30, 60.
#define BEACON_PERIOD 120
// Tone 0 in Hz (WSJT-X's FST4W sub-band is 1400 to 1600 Hz of audio).
#define BEACON_AUDIO_HZ 1500UL

const uint8_t kPttPin = 8;
const uint8_t kAudioPin = 9;  // OC1A on the ATmega328P

#if defined(BEACON_MESSAGE) && !BEACON_FST4W
#define SENDS_FST4W 0
#else
#define SENDS_FST4W 1  // the call's pair is always FST4W
#endif
static_assert(SENDS_FST4W ? FST4W_PERIOD(BEACON_PERIOD) : FST4_SAMPLES_PER_SYMBOL(BEACON_PERIOD) != 0,
              "not a T/R period of this mode");
static_assert(F_CPU % 1000UL == 0 && F_CPU / (2 * BEACON_AUDIO_HZ) <= 65536UL, "Timer1 cannot make the tones");

// Slot timing: a slot starts at every multiple of the period from 00:00 UTC.
const uint32_t kSlotMillis = BEACON_PERIOD * 1000UL;
const uint32_t kDayMillis = 86400000UL;
uint32_t dayMillis;  // the time source: milliseconds into the UTC day
uint32_t lastMillis;
uint32_t preparedSlot = 0xFFFFFFFFUL;

char messages[2][FST4_MAX_MESSAGE + 1];
uint8_t messageCount;
uint8_t tones[FST4_CHANNEL_SYMBOLS];

// Timer1 toggles the pin every half cycle of the tone. A half cycle of tone
// t lasts F_CPU * nsps / (2 * (f0 * nsps + 12000 * t)) clock cycles: whole
// cycles go to OCR1A and the fraction is carried from one half cycle to
// the next, so the mean frequency is exact. A symbol lasts nsps / 12000 s =
// nsps * (F_CPU / 1000) / 12 cycles; the tone changes at the first edge
// after its boundary (the pin's phase stays continuous, as FST4 wants), and
// the time past the boundary counts toward the next symbol, so nothing drifts.
struct HalfCycle {
  uint16_t whole;
  uint32_t fraction, denominator;
};
HalfCycle halfCycles[4];
const uint32_t kSymbolTwelfths = FST4_SAMPLES_PER_SYMBOL(BEACON_PERIOD) * (F_CPU / 1000UL);
volatile uint8_t symbol;  // FST4_CHANNEL_SYMBOLS when not sending
uint32_t carry, inSymbol, symbolCycles, symbolCarry;

uint16_t nextHalfCycle() {
  const HalfCycle &h = halfCycles[tones[symbol]];
  uint16_t cycles = h.whole;
  carry += h.fraction;
  if (carry >= h.denominator) {
    carry -= h.denominator;
    ++cycles;
  }
  return cycles;
}

uint32_t nextSymbolCycles() {
  symbolCarry += kSymbolTwelfths % 12;
  uint32_t cycles = kSymbolTwelfths / 12 + symbolCarry / 12;
  symbolCarry %= 12;
  return cycles;
}

ISR(TIMER1_COMPA_vect) {
  // The counter has just restarted: OCR1A now sets the half cycle begun.
  inSymbol += OCR1A + 1UL;
  if (inSymbol >= symbolCycles) {
    inSymbol -= symbolCycles;
    if (++symbol == FST4_CHANNEL_SYMBOLS) {
      TCCR1B = 0;
      TCCR1A = 0;
      TIMSK1 = 0;
      digitalWrite(kAudioPin, LOW);
      digitalWrite(kPttPin, LOW);
      return;
    }
    symbolCycles = nextSymbolCycles();
  }
  OCR1A = nextHalfCycle() - 1;
}

void startTones() {
  for (uint8_t t = 0; t < 4; ++t) {
    uint64_t numerator = (uint64_t)F_CPU * FST4_SAMPLES_PER_SYMBOL(BEACON_PERIOD);
    uint32_t denominator = 2 * (BEACON_AUDIO_HZ * FST4_SAMPLES_PER_SYMBOL(BEACON_PERIOD) + FST4_SAMPLE_RATE * t);
    halfCycles[t].whole = (uint16_t)(numerator / denominator);
    halfCycles[t].fraction = (uint32_t)(numerator % denominator);
    halfCycles[t].denominator = denominator;
  }
  carry = inSymbol = symbolCarry = 0;
  symbol = 0;
  symbolCycles = nextSymbolCycles();
  digitalWrite(kPttPin, HIGH);
  noInterrupts();
  TCCR1A = _BV(COM1A0);  // toggle OC1A on compare match
  TCNT1 = 0;
  OCR1A = nextHalfCycle() - 1;
  TIFR1 = _BV(OCF1A);
  TIMSK1 = _BV(OCIE1A);
  TCCR1B = _BV(WGM12) | _BV(CS10);  // clear the counter on OCR1A, clock / 1
  interrupts();
}

// The time source: the board's clock (millis() wraps after 49 days; the
// difference does not), or the time typed over Serial.
void keepTime() {
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

bool encode(const char *message) {
#if SENDS_FST4W
  enum fst4_status status = fst4w_encode(message, 1, tones);
#else
  enum fst4_status status = fst4_encode(message, 0, tones, NULL);
#endif
  Serial.print(message);
  if (status == FST4_OK) {
    Serial.println();
    return true;
  }
  Serial.print(F(": refused, "));
  Serial.println((const __FlashStringHelper *)fst4_status_text(status));
  return false;
}

void setup() {
  Serial.begin(9600);
  pinMode(kPttPin, OUTPUT);
  pinMode(kAudioPin, OUTPUT);
  symbol = FST4_CHANNEL_SYMBOLS;
#ifdef BEACON_MESSAGE
  strncpy(messages[0], BEACON_MESSAGE, FST4_MAX_MESSAGE);
  messageCount = 1;
#else
  messageCount = fst4w_beacon_messages(BEACON_CALL, BEACON_GRID, BEACON_DBM, messages[0], messages[1]);
  if (messageCount == 0) Serial.println(F("not a call and locator a beacon can send"));
#endif
  lastMillis = millis();
}

void loop() {
  keepTime();
  if (messageCount == 0 || symbol != FST4_CHANNEL_SYMBOLS) return;
  uint32_t slot = dayMillis / kSlotMillis;
  uint32_t into = dayMillis % kSlotMillis;
  // Encode at the slot's start (a few ms), send from 1 s in (0.5 s in a 15 s slot); a slot whose
  // start was missed (just reset, or the time set) is left out.
  if (into < FST4_START_MILLISECONDS(BEACON_PERIOD) / 2 && slot != preparedSlot) {
    const char *message = messages[slot % messageCount];
    Serial.print(F("slot "));
    Serial.print(slot);
    Serial.print(F(": "));
    if (encode(message)) preparedSlot = slot;
  } else if (slot == preparedSlot && into >= FST4_START_MILLISECONDS(BEACON_PERIOD)) {
    preparedSlot = 0xFFFFFFFFUL;
    startTones();
  }
}
