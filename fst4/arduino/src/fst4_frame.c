/* From the payload to the 160 channel symbols: scrambling, CRC-24, LDPC
   parity (one generator row at a time, when its symbol is sent), Gray
   mapping and sync words. Bits are kept packed, MSB first. */
#include <fst4/fst4.h>

#include "fst4_ldpc.h"

/* Generator x^24 + x^10 + x^9 + x^6 + x^4 + x^3 + x + 1 (WSJT-X 2.6.1,
   lib/fst4/get_crc24.f90): initial value 0, no reflection, no final XOR. */
#define CRC24_POLYNOMIAL 0x100065BUL
#define CRC24_TOP_BIT 0x1000000UL
#define CRC_BITS 24u

#define PAYLOAD_BITS 77u
#define FST4W_PAYLOAD_BITS 50u
#define INFO_BITS (PAYLOAD_BITS + CRC_BITS)
#define FST4W_INFO_BITS (FST4W_PAYLOAD_BITS + CRC_BITS)
#define CODEWORD_BITS 240u

/* rvec, XORed onto the 77 FST4 payload bits before the CRC (genfst4.f90),
   packed MSB first. */
static const uint8_t scrambler[FST4_PAYLOAD_BYTES] FST4_FLASH = {0x4a, 0x5e, 0x89, 0xb4, 0xb0,
                                                                 0x8a, 0x79, 0x55, 0xbe, 0x28};

/* Sync words A and B (genfst4.f90, isyncword1 / isyncword2); the frame is
   A data B data A data B data A, with 30 data symbols per run. */
#define SYNC_LENGTH 8u
#define DATA_RUN 30u
static const uint8_t sync_words[2][SYNC_LENGTH] FST4_FLASH = {{0, 1, 3, 2, 1, 0, 2, 3}, {2, 3, 1, 0, 3, 2, 0, 1}};

/* Gray map indexed by (high bit << 1 | low bit): 00->0, 01->1, 10->3, 11->2. */
static const uint8_t gray[4] FST4_FLASH = {0, 1, 3, 2};

static uint8_t bit_at(const uint8_t *bits, unsigned index) {
  return (uint8_t)((bits[index >> 3] >> (7u - (index & 7u))) & 1u);
}

static void set_bit(uint8_t *bits, unsigned index) { bits[index >> 3] |= (uint8_t)(0x80u >> (index & 7u)); }

static uint32_t shift_in(uint32_t reg, uint8_t bit) {
  reg = (reg << 1) | bit;
  if (reg & CRC24_TOP_BIT) reg ^= CRC24_POLYNOMIAL;
  return reg;
}

uint32_t fst4_crc24(const uint8_t *bits, unsigned count) {
  uint32_t reg = 0;
  unsigned i;
  for (i = 0; i < count; ++i) reg = shift_in(reg, bit_at(bits, i));
  for (i = 0; i < CRC_BITS; ++i) reg = shift_in(reg, 0);
  return reg;
}

void fst4_information_word(const uint8_t payload[FST4_PAYLOAD_BYTES], int fst4w, uint8_t info[FST4_INFO_BYTES]) {
  unsigned length = fst4w ? FST4W_PAYLOAD_BITS : PAYLOAD_BITS;
  unsigned i;
  uint32_t crc;
  for (i = 0; i < FST4_INFO_BYTES; ++i) info[i] = 0;
  for (i = 0; i < length; ++i) {
    uint8_t bit = bit_at(payload, i);
    if (!fst4w) bit ^= (uint8_t)((fst4_flash_byte(&scrambler[i >> 3]) >> (7u - (i & 7u))) & 1u);
    if (bit) set_bit(info, i);
  }
  crc = fst4_crc24(info, length);
  for (i = 0; i < CRC_BITS; ++i) {
    if ((crc >> (CRC_BITS - 1u - i)) & 1u) set_bit(info, length + i);
  }
}

static uint8_t parity_of(uint8_t byte) {
  byte ^= (uint8_t)(byte >> 4);
  byte ^= (uint8_t)(byte >> 2);
  byte ^= (uint8_t)(byte >> 1);
  return (uint8_t)(byte & 1u);
}

/* Bits past the information length are zero in `info`, so the unused
   columns of a row add nothing. */
static uint8_t row_parity(const uint8_t *row, unsigned bytes, const uint8_t *info) {
  uint8_t sum = 0;
  unsigned j;
  for (j = 0; j < bytes; ++j) sum ^= (uint8_t)(fst4_flash_byte(&row[j]) & info[j]);
  return parity_of(sum);
}

/* Each code's parity in its own function, so that a firmware sending FST4W
   only links the FST4W table alone (unused sections are dropped). */
static uint8_t parity_74(const uint8_t *info, unsigned row) {
  return row_parity(fst4_generator_74[row], FST4_ROW_BYTES_74, info);
}

static uint8_t parity_101(const uint8_t *info, unsigned row) {
  return row_parity(fst4_generator_101[row], FST4_ROW_BYTES_101, info);
}

uint8_t fst4_parity_bit(const uint8_t info[FST4_INFO_BYTES], int fst4w, unsigned row) {
  return fst4w ? parity_74(info, row) : parity_101(info, row);
}

typedef uint8_t (*parity_function)(const uint8_t *info, unsigned row);

/* Codeword bit k: the information word, then the parity bits. */
static uint8_t codeword_bit(const uint8_t *info, unsigned info_bits, parity_function parity, unsigned k) {
  return k < info_bits ? bit_at(info, k) : parity(info, k - info_bits);
}

static void frame(const uint8_t *info, unsigned info_bits, parity_function parity, uint8_t *symbols) {
  unsigned out = 0;
  unsigned data = 0;
  unsigned block;
  unsigned i;
  for (block = 0; block < 5u; ++block) {
    for (i = 0; i < SYNC_LENGTH; ++i) symbols[out++] = fst4_flash_byte(&sync_words[block & 1u][i]);
    if (block == 4u) break;
    for (i = 0; i < DATA_RUN; ++i, ++data) {
      unsigned pair = (unsigned)(codeword_bit(info, info_bits, parity, 2u * data) << 1) |
                      codeword_bit(info, info_bits, parity, 2u * data + 1u);
      symbols[out++] = fst4_flash_byte(&gray[pair]);
    }
  }
}

void fst4w_channel_symbols(const uint8_t info[FST4_INFO_BYTES], uint8_t symbols[FST4_CHANNEL_SYMBOLS]) {
  frame(info, FST4W_INFO_BITS, parity_74, symbols);
}

void fst4_channel_symbols(const uint8_t info[FST4_INFO_BYTES], int fst4w, uint8_t symbols[FST4_CHANNEL_SYMBOLS]) {
  if (fst4w) {
    fst4w_channel_symbols(info, symbols);
  } else {
    frame(info, INFO_BITS, parity_101, symbols);
  }
}
