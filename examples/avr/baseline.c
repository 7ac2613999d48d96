/* beacon.c without the encoder: the same buffers and loops, so that the
   difference between the two firmwares is the encoder's share. */
#include <stdint.h>

#include <fst4/fst4.h>

volatile char message[FST4_MAX_MESSAGE + 1] = "K1ABC FN42 37";
volatile uint8_t tones[FST4_CHANNEL_SYMBOLS];

int main(void) {
  char text[FST4_MAX_MESSAGE + 1];
  unsigned i;
  for (i = 0; i < sizeof text; ++i) text[i] = message[i];
  for (i = 0; i < sizeof tones; ++i) tones[i] = (uint8_t)(text[i % sizeof text] & 3);
  return 0;
}
