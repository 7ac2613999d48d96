// Test helper: ends with the exit code given as its first argument (0 when
// there is none), so the tests can see what RunProcess reports.
#include <cstdlib>

int main(int argc, char** argv) {
  constexpr int kDecimal = 10;
  return argc > 1 ? static_cast<int>(std::strtoul(argv[1], nullptr, kDecimal)) : 0;
}
