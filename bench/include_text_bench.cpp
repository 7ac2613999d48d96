// The include text from symbol texts of 1 KiB to 100 MiB (symbols 0..3 in a
// fixed pseudo-random order). The complexity fit shows whether time grows
// linearly.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "include_file/include_text.h"
#include "sizes.h"

namespace sympack::bench {
namespace {

constexpr std::string_view kMessage = "CQ K1ABC FN42";
constexpr unsigned kSeed = 4;

std::string RandomSymbols(std::size_t size) {
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> tone(0, 3);
  std::string symbols(size, '0');
  for (char& symbol : symbols) symbol = static_cast<char>('0' + tone(random));
  return symbols;
}

void BuildIncludeText(benchmark::State& state) {
  const std::string symbols = RandomSymbols(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(include_file::BuildIncludeText(symbols, kMessage));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BuildIncludeText)->Apply(AddSizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sympack::bench
