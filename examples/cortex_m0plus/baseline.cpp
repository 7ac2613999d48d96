// beacon.cpp without the encoder: the same buffers and loops, so that the
// difference between the two firmwares is the encoder's share.
#include <cstdint>

volatile char g_message[14] = "K1ABC FN42 37";
volatile std::uint8_t g_tones[160];

int main() {
  char text[sizeof g_message];
  for (unsigned i = 0; i < sizeof text; ++i) text[i] = g_message[i];
  for (unsigned i = 0; i < sizeof g_tones; ++i) g_tones[i] = static_cast<std::uint8_t>(text[i % sizeof text] & 3);
  return 0;
}
