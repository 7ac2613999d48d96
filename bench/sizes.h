// Input sizes the benchmarks step through: 1 KiB to 100 MiB, by tens.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace sympack::bench {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

inline void AddSizes(benchmark::internal::Benchmark* benchmark) {
  for (const std::int64_t size : {kKiB, 10 * kKiB, 100 * kKiB, kMiB, 10 * kMiB, 100 * kMiB}) {
    benchmark->Arg(size);
  }
}

}  // namespace sympack::bench
