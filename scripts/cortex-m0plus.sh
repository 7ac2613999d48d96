#!/usr/bin/env bash
# Cross-builds the fst4 library for a Cortex-M0+ with Debian's
# gcc-arm-none-eabi (no exceptions, no RTTI) and prints its size: the
# library's objects, and the flash and static RAM a firmware needs for it
# (examples/cortex_m0plus/beacon.cpp, and baseline.cpp without the encoder,
# newlib-nano, unused sections dropped). Fails when the firmware links a heap
# allocator: the encoder must work without one.
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

# Any of these in the image means something on the encode path allocates (or
# can abort, which pulls in newlib's signal handling and its malloc).
heap=$(arm-none-eabi-nm "$build/beacon.elf" |
       awk '$3 ~ /^(_?malloc|_malloc_r|_?calloc|_calloc_r|_?realloc|_realloc_r|_?free|_free_r|_sbrk|_sbrk_r|abort|_Zn[wa].*|_Zd[la].*)$/ {print $3}')
if [ -n "$heap" ]; then
  echo "FAIL: the firmware links a heap allocator:" $heap >&2
  exit 1
fi
echo "heap: none linked (no malloc, free, _sbrk, operator new or delete in the image)"
