#!/usr/bin/env bash
# Cross-builds the fst4 library for a Cortex-M0+ with Debian's
# gcc-arm-none-eabi (no exceptions, no RTTI) and prints its size: the
# library's objects, and the flash and static RAM a firmware needs for it
# (examples/cortex_m0plus/beacon.cpp, and baseline.cpp without the encoder,
# newlib-nano, unused sections dropped), and the stack its deepest call path
# takes. Fails when the firmware links a heap allocator: the encoder must work
# without one.
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
arm-none-eabi-g++ "${flags[@]}" -fcallgraph-info=su -c examples/cortex_m0plus/beacon.cpp -o "$build/beacon.o"
arm-none-eabi-g++ "${flags[@]}" "$build/beacon.o" "$library" -o "$build/beacon.elf"
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

# Stack: each function's frame from the compiler's call-graph files (.ci,
# written with -fcallgraph-info=su), summed along the deepest path from main.
# Library calls (memcpy, memset) count 0; the encoder makes no indirect calls.
python3 - "$build/fst4" "$build/beacon.ci" <<'PY'
import pathlib, re, sys
frames, calls = {}, {}
for ci in [*pathlib.Path(sys.argv[1]).rglob("*.ci"), pathlib.Path(sys.argv[2])]:
    for line in ci.read_text().splitlines():
        if node := re.match(r'node: \{ title: "([^"]+)" label: "[^"]*?\\n(\d+) bytes \((\w+)\)', line):
            if node[3] != "static":
                sys.exit(f"stack of {node[1]} is {node[3]}, not fixed")
            frames[node[1]] = int(node[2])
        elif edge := re.match(r'edge: \{ sourcename: "([^"]+)" targetname: "([^"]+)"', line):
            calls.setdefault(edge[1], set()).add(edge[2])
if not any("encode_into" in name for name in frames):
    sys.exit("no call-graph files for the library (a compiler cache hit?): rebuild it without the cache")
def deepest(function, path=()):
    if function in path:
        sys.exit(f"recursion through {function}")
    below = [deepest(callee, path + (function,)) for callee in calls.get(function, ())]
    return frames.get(function, 0) + max(below, default=0)
print(f"stack: {deepest('main')} bytes on the deepest path from main (encoder and beacon's main)")
PY
