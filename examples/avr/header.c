/* The tool's C header on an ATmega328P with its symbols kept in flash:
   prints FST4_SYMBOL(0) .. FST4_SYMBOL(FST4_SYMBOL_COUNT - 1) over the UART
   as digits. scripts/avr.sh builds it with the BEACON.H of a real run and
   checks the digits against that run's report. */
#include <avr/io.h>
#include <avr/sleep.h>

#define FST4_SYMBOLS_IN_FLASH
#include "BEACON.H"

static void put(char c) {
  while (!(UCSR0A & (1 << UDRE0))) {
  }
  UDR0 = (uint8_t)c;
}

int main(void) {
  unsigned i;
  UCSR0B = (1 << TXEN0);
  for (i = 0; i < FST4_SYMBOL_COUNT; ++i) put((char)('0' + FST4_SYMBOL(i)));
  put('\n');
  __asm__ volatile("cli");
  sleep_cpu();
  return 0;
}
