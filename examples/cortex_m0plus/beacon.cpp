// The smallest firmware that encodes on the device: the message is built at
// run time (as a GPS-fed beacon builds it) and its 160 tones are kept for the
// transmitter. Linked by scripts/cortex-m0plus.sh to measure the library's
// flash and RAM footprint; with FST4_FOOTPRINT_BASELINE the same firmware
// without the encoder, so that the difference is the library's share.
#include <cstdint>

#ifndef FST4_FOOTPRINT_BASELINE
#include <fst4/encoder.h>
#endif

volatile char g_message[14] = "K1ABC FN42 37";
volatile std::uint8_t g_tones[160];

int main() {
  char text[sizeof g_message];
  for (unsigned i = 0; i < sizeof text; ++i) text[i] = g_message[i];
#ifndef FST4_FOOTPRINT_BASELINE
  fst4::EncodeResult result = fst4::encode(text, false);
  if (!result.ok()) return 1;
  for (unsigned i = 0; i < sizeof g_tones; ++i) g_tones[i] = result.encoding->symbols[i];
#else
  for (unsigned i = 0; i < sizeof g_tones; ++i) g_tones[i] = static_cast<std::uint8_t>(text[i % sizeof text] & 3);
#endif
  return 0;
}
