#!/usr/bin/env bash
# Cross-builds the fst4 library for a Cortex-M0+ with Debian's
# gcc-arm-none-eabi (no exceptions, no RTTI) and prints its size: the
# library's objects, and the flash and static RAM a firmware needs for it
# (examples/cortex_m0plus/beacon.cpp, and baseline.cpp without the encoder,
# newlib-nano, unused sections dropped).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset cortex-m0plus >/dev/null
cmake --build --preset cortex-m0plus >/dev/null
build=build/cortex-m0plus
library=$build/fst4/libfst4.a
echo "== libfst4.a for Cortex-M0+ (text = code and constant tables)"
arm-none-eabi-size -t "$library" | sed -n '1p;$p'

flags=(-mcpu=cortex-m0plus -mthumb -Os -std=c++20 -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
       -Ifst4/include --specs=nano.specs --specs=nosys.specs -Wl,--gc-sections)
arm-none-eabi-g++ "${flags[@]}" examples/cortex_m0plus/beacon.cpp "$library" -o "$build/beacon.elf"
arm-none-eabi-g++ "${flags[@]}" examples/cortex_m0plus/baseline.cpp -o "$build/baseline.elf"
echo "== firmware with and without the encoder"
arm-none-eabi-size "$build/beacon.elf" "$build/baseline.elf"
read -r text data bss < <(arm-none-eabi-size "$build/beacon.elf" | awk 'NR==2 {print $1, $2, $3}')
read -r text0 data0 bss0 < <(arm-none-eabi-size "$build/baseline.elf" | awk 'NR==2 {print $1, $2, $3}')
echo "the encoder's share: flash $((text - text0 + data - data0)) bytes, static RAM $((data - data0 + bss - bss0)) bytes"
