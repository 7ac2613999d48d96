// The report reader over reports in memory, 1 KiB to the 1 MiB it reads at
// most, in three shapes: many short lines without a listing header (every line is read and
// dropped), one line without a line end (gathered whole), and a listing of
// short symbol lines (every byte but the line ends kept). The complexity fit
// shows whether time grows linearly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "report/report_reader.h"
#include "sizes.h"

namespace sympack::bench {
namespace {

constexpr std::string_view kShortLine = "f0: 1500.000   DT: 0.00   TxT: 109.3   SNR: 0.0\r\n";
constexpr std::string_view kSymbolLine = "0132102331\r\n";
constexpr std::string_view kHeaderLine = "Channel symbols:\r\n";

std::string Repeated(std::string_view piece, std::size_t size, std::string_view first = {}) {
  std::string text(first);
  while (text.size() < size) text += piece;
  text.resize(size);
  return text;
}

std::optional<std::string> Collect(const std::string& report) {
  std::size_t position = 0;
  return report::CollectSymbolText(report::ReadReportBytes([&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    const std::size_t count = std::min(size, report.size() - position);
    std::memcpy(buffer, report.data() + position, count);
    position += count;
    return count;
  }));
}

void Run(benchmark::State& state, const std::string& report) {
  for (auto _ : state) benchmark::DoNotOptimize(Collect(report));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(report.size()));
  state.SetComplexityN(state.range(0));
}

void ReaderShortLinesNoHeader(benchmark::State& state) {
  Run(state, Repeated(kShortLine, static_cast<std::size_t>(state.range(0))));
}

void ReaderOneLongLine(benchmark::State& state) {
  Run(state, std::string(static_cast<std::size_t>(state.range(0)), '0'));
}

void ReaderLongListing(benchmark::State& state) {
  Run(state, Repeated(kSymbolLine, static_cast<std::size_t>(state.range(0)), kHeaderLine));
}

BENCHMARK(ReaderShortLinesNoHeader)->Apply(AddSizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(ReaderOneLongLine)->Apply(AddSizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(ReaderLongListing)->Apply(AddSizes)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sympack::bench
