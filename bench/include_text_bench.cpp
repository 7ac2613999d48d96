// The include text of one transmission (160 symbols in a fixed pseudo-random
// order), in both layouts: the `de` lines and the C header.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "include_file/include_text.h"

namespace sympack::bench {
namespace {

constexpr std::string_view kMessage = "CQ K1ABC FN42";
constexpr unsigned kSeed = 4;

include_file::ChannelSymbols RandomSymbols() {
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> tone(0, 3);
  std::string listing(include_file::ChannelSymbols::kCount, '0');
  for (char& symbol : listing) symbol = static_cast<char>('0' + tone(random));
  return *include_file::ChannelSymbols::FromListing(listing);
}

void BuildIncludeText(benchmark::State& state, const char* destination) {
  const auto symbols = RandomSymbols();
  for (auto _ : state) benchmark::DoNotOptimize(include_file::BuildIncludeText(symbols, kMessage, destination));
}

BENCHMARK_CAPTURE(BuildIncludeText, AssemblerLayout, "FST4.INC")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildIncludeText, CHeaderLayout, "BEACON.H")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sympack::bench
