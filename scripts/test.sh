#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit and end-to-end suites,
# the Windows build's suites under Wine, the whole native suite again under
# AddressSanitizer and UBSan, and a short run of every fuzz target.
#   SYMPACK_FUZZ_SECONDS  seconds per fuzz target (default 20; 0 replays the seeds only)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
jobs="$(nproc)"

echo "== native build and tests"
cmake --preset default >/dev/null
cmake --build build/default -j"$jobs"
ctest --preset default -j"$jobs"

echo "== Windows build, tests under Wine"
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
ctest --preset windows

echo "== native tests under AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build build/asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== fuzz targets"
"$root/scripts/fuzz.sh" "${SYMPACK_FUZZ_SECONDS:-20}"
