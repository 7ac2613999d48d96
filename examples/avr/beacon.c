/* The smallest FST4 / FST4W beacon firmware for an ATmega328P: the call, locator
   and power arrive at run time (from a GPS or a menu, say) and the 160 tones
   are kept for the transmitter. scripts/avr.sh links it, and baseline.c
   (the same without the encoder), to measure the encoder's flash and static
   RAM: once with every message type, once (BEACON_FST4W_ONLY) with FST4W
   alone. */
#include <stdint.h>

#include <fst4/fst4.h>

volatile char message[FST4_MAX_MESSAGE + 1] = "K1ABC FN42 37";
volatile uint8_t tones[FST4_CHANNEL_SYMBOLS];

int main(void) {
  char text[FST4_MAX_MESSAGE + 1];
  uint8_t symbols[FST4_CHANNEL_SYMBOLS];
  unsigned i;
  for (i = 0; i < sizeof text; ++i) text[i] = message[i];
#if defined(BEACON_FST4W_ONLY)
  if (fst4w_encode(text, 0, symbols) != FST4_OK) return 1;
#else
  if (fst4_encode(text, 0, symbols, 0) != FST4_OK) return 1;
#endif
  for (i = 0; i < sizeof symbols; ++i) tones[i] = symbols[i];
  return 0;
}
