#!/usr/bin/env bash
# Installs what building and testing sympack needs on Debian 12. Every
# package a script of ours uses comes from here (scripts/check-paths.sh
# holds the scripts to that).
#   scripts/setup.sh          installs what is missing
#   scripts/setup.sh --list   prints the package names, one a line
# Groups left out when their variable is 0: SYMPACK_REFERENCE (WSJT-X, the
# reference simulator and decoder), SYMPACK_WINDOWS (the cross build and
# Wine), SYMPACK_FUZZ (clang and its fuzzer runtime).
set -euo pipefail

packages=(
  cmake g++ make libgtest-dev libbenchmark-dev   # the native build and unit tests
  python3 python3-pyte                           # the terminal end-to-end tests
  dpkg-dev file lintian man-db pkg-config        # the Debian package and its checks
  gcc-arm-none-eabi libnewlib-arm-none-eabi libstdc++-arm-none-eabi-newlib  # the Cortex-M0+ build
  gcc-avr avr-libc binutils-avr simavr arduino-core-avr arduino-builder  # the ATmega328P build, run and sketch
  gputils gpsim                                  # the PIC example beacons, assembled and run
  time                                           # the benchmarks' peak memory (/usr/bin/time)
)
if [ "${SYMPACK_REFERENCE:-1}" = 1 ]; then
  packages+=(wsjtx)                              # the reference simulator and decoder (fst4sim, jt9)
fi
if [ "${SYMPACK_WINDOWS:-1}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64 wine wine64)   # the Windows build and its tests
fi
if [ "${SYMPACK_FUZZ:-1}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)        # libFuzzer targets (scripts/fuzz.sh)
fi

if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
