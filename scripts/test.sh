#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit and end-to-end suites,
# then the Windows build's suites under Wine when that preset exists.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
jobs="$(nproc)"
cmake --preset default >/dev/null
cmake --build build/default -j"$jobs"
ctest --preset default -j"$jobs"
if grep -q '"name": "windows"' CMakePresets.json; then
  cmake --preset windows >/dev/null
  cmake --build build/windows -j"$jobs"
  ctest --preset windows
fi
