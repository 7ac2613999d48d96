#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, with clang, in build/fuzz) and runs each
# for a set time on its committed seed corpus. New inputs the fuzzer keeps go
# to build/fuzz/corpus/<target>; a crashing input goes to
# build/fuzz/artifacts/. Exits non-zero when any target finds a fault.
#
#   scripts/fuzz.sh [seconds per target]   (default 60; 0 replays the seeds only)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz"

SYMPACK_WINDOWS=0 SYMPACK_REFERENCE=0 "$root/scripts/setup.sh"   # clang-14 and its fuzzer runtime
CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$build" >/dev/null
cmake --build "$build" -j2 >/dev/null

mkdir -p "$build/artifacts"
passed=0
failed=0
for target in "$build"/bin/fuzz_*; do
  name="$(basename "$target")"
  work="$build/corpus/$name"
  log="$build/$name.log"
  mkdir -p "$work"
  run=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1
       -artifact_prefix="$build/artifacts/$name-")
  if [ "$seconds" -eq 0 ]; then
    run+=(-runs=0)
  else
    run+=(-max_total_time="$seconds")
  fi
  if "$target" "${run[@]}" "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz $name: clean, ${runs:-?} inputs in ${seconds} s"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAULT (log $log)"
    grep -E 'property broken|ERROR:|runtime error|Test unit written' "$log" | head -5 || true
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
