// Input sizes the benchmarks step through: 1 KiB (a report of the
// simulator's size) to 1 MiB (the most of a report that is read), by tens.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace sympack::bench {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

inline void AddSizes(benchmark::internal::Benchmark* benchmark) {
  for (const std::int64_t size : {kKiB, 10 * kKiB, 100 * kKiB, kMiB}) {
    benchmark->Arg(size);
  }
}

}  // namespace sympack::bench
