// Prints the 160 FST4/FST4W channel symbols of a message, as digits and as a
// C array to paste into a beacon sketch. Usage: fst4_symbols "K1ABC FN42 37"
#include <cstdio>

#include <fst4/encoder.h>

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: fst4_symbols \"message\"\n"), 1;
  fst4::EncodeResult result = fst4::encode(argv[1], /*wspr_hint=*/false);
  if (!result.ok()) return std::fprintf(stderr, "not sent: %s\n", result.refusal.c_str()), 2;
  const auto& symbols = result.encoding->symbols;
  std::printf("%s\n", result.encoding->decoded.c_str());
  for (auto tone : symbols) std::printf("%d", tone);
  std::printf("\n\nconst unsigned char fst4_symbols[%zu] = {", symbols.size());
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    std::printf("%s%s%d", i == 0 ? "" : ",", i % 10 == 0 ? "\n  " : " ", symbols[i]);
  }
  std::printf("\n};\n");
  return 0;
}
