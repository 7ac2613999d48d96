// In-process encoding rate of the fst4 library over the reference-vector
// messages (one "report" = one encoded message).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fst4/encoder.h"

namespace {

std::vector<std::pair<std::string, bool>> messages() {
  std::vector<std::pair<std::string, bool>> rows;
  std::ifstream in(FST4_VECTORS_FILE);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    auto tab = line.find('\t');
    rows.emplace_back(line.substr(0, tab), line.substr(tab + 1, 1) == "T");
  }
  return rows;
}

void BM_EncodeVectorMessages(benchmark::State& state) {
  const auto rows = messages();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [message, hint] = rows[i++ % rows.size()];
    auto result = fst4::encode(message, hint);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeVectorMessages);

void BM_EncodeStandardMessage(benchmark::State& state) {
  for (auto _ : state) {
    auto result = fst4::encode("CQ K1ABC FN42", false);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeStandardMessage);

}  // namespace

BENCHMARK_MAIN();
