// Prints the 160 FST4/FST4W channel symbols of a message, as digits and as a
// C array to paste into a beacon sketch. Usage: fst4_symbols "K1ABC FN42 37"
// encode_symbols needs no heap: the same call works on a microcontroller.
#include <cstdio>

#include <fst4/encoder.h>

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: fst4_symbols \"message\"\n"), 1;
  fst4::Symbols symbols;
  fst4::SymbolsResult result = fst4::encode_symbols(argv[1], /*wspr_hint=*/false, symbols);
  if (!result.ok()) return std::fprintf(stderr, "not sent: %s\n", result.refusal), 2;
  std::printf("%s (%s)\n", argv[1], result.mode == fst4::Mode::fst4w ? "FST4W" : "FST4");
  for (auto tone : symbols) std::printf("%d", tone);
  std::printf("\n\nconst unsigned char fst4_symbols[%zu] = {", symbols.size());
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    std::printf("%s%s%d", i == 0 ? "" : ",", i % 10 == 0 ? "\n  " : " ", symbols[i]);
  }
  std::printf("\n};\n");
  return 0;
}
