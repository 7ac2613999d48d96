// The smallest firmware that encodes on the device: the message is read at
// run time (as a GPS-fed beacon builds it) and its 160 tones are kept for the
// transmitter. scripts/cortex-m0plus.sh links it, and baseline.cpp (the same
// firmware without the encoder), to measure the library's flash and RAM.
#include <cstdint>

#include <fst4/encoder.h>

volatile char g_message[14] = "K1ABC FN42 37";
volatile std::uint8_t g_tones[fst4::kChannelSymbols];

int main() {
  char text[sizeof g_message];
  for (unsigned i = 0; i < sizeof text; ++i) text[i] = g_message[i];
  fst4::EncodeResult result = fst4::encode(text, false);
  if (!result.ok()) return 1;
  for (unsigned i = 0; i < sizeof g_tones; ++i) g_tones[i] = result.encoding->symbols[i];
  return 0;
}
