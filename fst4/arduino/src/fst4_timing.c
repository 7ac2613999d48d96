/* The timing of a beacon's slot for a period known at run time, from the
   same constant expressions a sketch with a fixed period uses (fst4.h), in
   integers only: no floating point is linked on a small part. */
#include <fst4/fst4.h>

int fst4_period_timing(unsigned period_seconds, struct fst4_timing *timing) {
  uint32_t nsps = FST4_SAMPLES_PER_SYMBOL(period_seconds);
  if (nsps == 0UL) return -1;
  timing->period_seconds = (uint16_t)period_seconds;
  timing->start_milliseconds = (uint16_t)FST4_START_MILLISECONDS(period_seconds);
  timing->samples_per_symbol = nsps;
  timing->symbol_microseconds = FST4_SYMBOL_MICROSECONDS(period_seconds);
  timing->tone_spacing_centihertz = (uint16_t)FST4_TONE_SPACING_CENTIHERTZ(period_seconds);
  timing->transmission_milliseconds = FST4_TRANSMISSION_MILLISECONDS(period_seconds);
  return 0;
}

int fst4w_timing(unsigned period_seconds, struct fst4_timing *timing) {
  if (!FST4W_PERIOD(period_seconds)) return -1;
  return fst4_period_timing(period_seconds, timing);
}
