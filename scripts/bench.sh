#!/usr/bin/env bash
# Builds the benchmarks (bench/, in build/bench) and runs them: the Google
# Benchmark programs for the report reader (1 KiB to the 1 MiB it reads at
# most, with a linear fit) and the include text, and whole runs of the tool
# less its fixed pause and the simulator. Prints the machine first.
#
#   scripts/bench.sh [whole runs]   (default 10)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-10}"
build="$root/build/bench"

SYMPACK_WINDOWS=0 SYMPACK_FUZZ=0 "$root/scripts/setup.sh"   # the native build, Google Benchmark included
cmake -S "$root/bench" -B "$build" >/dev/null
cmake --build "$build" -j2 >/dev/null

echo "## Machine"
echo "nproc: $(nproc)"
lscpu | head -n 15
free -h
echo
echo "## Report reader and include text (Google Benchmark)"
"$build/bin/bench_reader_and_include" --benchmark_out="$build/results.json" \
  --benchmark_out_format=json
echo
echo "## Whole run of the tool"
python3 "$root/bench/time_whole_run.py" "$build/bin" "$build/run" "$runs"
