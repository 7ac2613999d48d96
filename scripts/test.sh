#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit and end-to-end suites,
# a differential run of our FST4SIM.EXE against WSJT-X's on random messages,
# the install tree and the Debian package, the Windows build's suites under
# Wine and its zip, the fst4 library cross-built for a Cortex-M0+ and run on
# a simulated ATmega328P (with the Arduino library's sync check, zip and
# examples), the example beacons on their simulated parts with their
# transmissions decoded by WSJT-X's jt9, the whole
# native suite again under AddressSanitizer and UBSan, and a short run of
# every fuzz target; last, a check that every system path the scripts name
# comes from a package scripts/setup.sh installs.
#   SYMPACK_FUZZ_SECONDS  seconds per fuzz target (default 20; 0 replays the seeds only)
#   SYMPACK_REFERENCE=0   leaves WSJT-X out: the comparisons with its fst4sim
#                         are skipped (with the default 1, a missing one fails)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export SYMPACK_REFERENCE="${SYMPACK_REFERENCE:-1}"
"$root/scripts/setup.sh"
cd "$root"
jobs="$(nproc)"

echo "== native build and tests"
cmake --preset default >/dev/null
cmake --build build/default -j"$jobs"
ctest --preset default -j"$jobs"

echo "== FST4SIM.EXE against WSJT-X's fst4sim, random messages"
status=0
tests/fst4/differential.py --ours build/default/bin/FST4SIM.EXE || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ]

echo "== cmake --install, the Debian package and a project using the fst4 library"
scripts/package-deb.sh

echo "== Windows build, tests under Wine"
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
# Under load, Wine now and then fails to start a process (cmd.exe "cannot be
# run", a program "not recognised") in a run that passes alone. The tests that
# failed run once more, and their first failure stays in the log above: a
# real fault fails twice.
if ! ctest --preset windows; then
  echo "== Windows: the failed tests once more"
  ctest --preset windows --rerun-failed
fi
scripts/package-windows.sh

echo "== the fst4 library for a Cortex-M0+"
scripts/cortex-m0plus.sh

echo "== the fst4 core on an ATmega328P under simavr, and the Arduino library"
scripts/avr.sh

echo "== the example beacons on their simulated parts, decoded by WSJT-X's jt9"
scripts/beacons.sh

echo "== native tests under AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build build/asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== fuzz targets"
"$root/scripts/fuzz.sh" "${SYMPACK_FUZZ_SECONDS:-20}"

echo "== system paths the scripts name"
scripts/check-paths.sh
