#!/usr/bin/env bash
# Builds the fst4 core for an ATmega328P (Arduino Uno) with Debian's gcc-avr
# (16-bit int, -Werror: an overflowing constant fails the build), runs every
# reference vector on the simulated part (simavr, 16 MHz) with every message
# type and with FST4W alone, and fails on any difference; runs the library's
# status table (tests/fst4/library_status.tsv) on the part with both builds
# and fails on any status other than the table's; checks the tool's
# C header with its symbols in flash on the part; checks the Arduino library
# and builds its zip and examples for the Uno (scripts/arduino-library.sh);
# prints the encoder's flash, static RAM and painted stack for both builds.
#   scripts/avr.sh --encode FILE   FILE: lines "F<TAB>message" or "T<TAB>message"
#                                  (the W hint); prints for each the status's name
#                                  (OK, OTHER_TEXT or why it is refused) and the
#                                  160 tones when they are given
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/avr
mkdir -p "$out"
cmake -DFST4_TABLES_OUT="$out" -P fst4/tables/generate_tables.cmake
cflags=(-mmcu=atmega328p -DF_CPU=16000000UL -Os -std=c99 -Wall -Wextra -Werror -ffunction-sections
        -fdata-sections -Wl,--gc-sections -Ifst4/include -Ifst4/core -I"$out")
core=(fst4/core/*.c "$out/fst4_ldpc_74.c" "$out/fst4_ldpc_101.c")
simulate() {  # the firmware's UART lines
  simavr -m atmega328p -f 16000000 "$1" 2>&1 >/dev/null | sed 's/\x1b\[[0-9;]*m//g' | sed -n 's/\.$//p'
}

# The names of enum fst4_status in its order, from the public header.
status_names() {
  python3 -c '
import re, sys
block = re.search(r"enum fst4_status \{(.*?)\};", open("fst4/include/fst4/fst4.h").read(), re.S)[1]
block = re.sub(r"/\*.*?\*/", "", block, flags=re.S)
print(" ".join(re.findall(r"FST4_([A-Z0-9_]+)", block)))'
}

# messages.h (in the folder $2): every message of $3 with its hint, in
# flash, for examples/avr/check.c; $1 says where the hint is (table: the
# second column; file: the first).
messages_header() {
  mkdir -p "$2"
  python3 - "$1" "$3" > "$2/messages.h" <<'PY'
import sys
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[2], encoding="latin-1") if not line.startswith("#")]
rows = [(r[0], r[1]) if sys.argv[1] == "table" else (r[1], r[0]) for r in rows if len(r) >= 2]
escape = lambda text: "".join(c if c.isalnum() or c in " /<>+-.?;" else "\\%03o" % ord(c) for c in text)
print(f"#define MESSAGE_COUNT {len(rows)}u")
print("static const char messages[] PROGMEM =")
for message, hint in rows:
    print(f'  "{hint}{escape(message)}\\0"')
print(";")
PY
}

if [ "${1:-}" = "--encode" ]; then
  messages_header file "$out/encode" "$2"
  avr-gcc -I"$out/encode" "${cflags[@]}" examples/avr/check.c "${core[@]}" -o "$out/encode.elf"
  names=($(status_names))
  simulate "$out/encode.elf" | grep -v '^stack \|^cycles ' | while read -r status tones; do
    echo "${names[$status]}${tones:+ $tones}"
  done
  exit 0
fi

# Every vector on the part: equal with every message type (OK, or
# OTHER_TEXT where the reference sends another text too); with FST4W alone
# the FST4W vectors (payload 0.6: 24 zeros after the CRC) equal, the rest
# refused. Then every row of the status table, with the table's status for
# fst4_encode or fst4w_encode. Prints "flash F, static RAM R, stack S" for
# the build.
messages_header table "$out/vectors" tests/fst4/reference_vectors.tsv
messages_header table "$out/table" tests/fst4/library_status.tsv
avr-gcc "${cflags[@]}" examples/avr/baseline.c -o "$out/baseline.elf"
read -r text0 data0 bss0 < <(avr-size "$out/baseline.elf" | awk 'NR==2 {print $1, $2, $3}')
check_build() {  # name, extra compiler flags
  avr-gcc -I"$out/vectors" "${cflags[@]}" $2 examples/avr/check.c "${core[@]}" -o "$out/check-$1.elf"
  avr-gcc -I"$out/table" "${cflags[@]}" $2 examples/avr/check.c "${core[@]}" -o "$out/table-$1.elf"
  simulate "$out/check-$1.elf" > "$out/results-$1.txt"
  simulate "$out/table-$1.elf" > "$out/table-results-$1.txt"
  python3 - tests/fst4/reference_vectors.tsv "$out/results-$1.txt" "$1" tests/fst4/library_status.tsv \
    "$out/table-results-$1.txt" $(status_names) <<'PY'
import sys
vectors, results, build, table, table_results, names = sys.argv[1:6] + [sys.argv[6:]]
fst4w_only = build == "fst4w"
rows = [l.rstrip("\n").split("\t") for l in open(vectors, encoding="latin-1") if not l.startswith("#")]
lines = open(results).read().split("\n")
failures = 0
for (message, hint, symbols, decoded, bits), got in zip(rows, lines):
    status, _, tones = got.partition(" ")
    fst4w = bits.endswith(" " + "0" * 24)
    sent = status.isdigit() and names[int(status)] in ("OK", "OTHER_TEXT")
    if (sent and tones == symbols) if fst4w or not fst4w_only else not sent and status.isdigit():
        continue
    failures += 1
    print(f"DIFFERENCE {message!r} W={hint}: {got[:40]!r}", file=sys.stderr)
if len(lines) < len(rows) + 2 or failures:
    sys.exit(f"{failures} differences in {len(rows)} vectors (or the firmware stopped early)")
rows = [l.rstrip("\n").split("\t") for l in open(table, encoding="latin-1") if not l.startswith("#")]
lines = open(table_results).read().split("\n")
for row, got in zip(rows, lines):
    want = row[3] if fst4w_only else row[2]
    status = got.partition(" ")[0]
    if not status.isdigit() or names[int(status)] != want:
        failures += 1
        print(f"STATUS {row[0]!r} W={row[1]}: {got[:20]!r}, the table says {want}", file=sys.stderr)
if len(lines) < len(rows) + 2 or failures:
    sys.exit(f"{failures} statuses unlike the table's {len(rows)} (or the firmware stopped early)")
PY
  read -r _ stack < <(grep '^stack ' "$out/results-$1.txt")
  read -r _ cycles most < <(grep '^cycles ' "$out/results-$1.txt")
  echo "ATmega328P ($1): every vector and table status as expected; $cycles cycles per message on average," \
       "$most at most" >&2
  avr-gcc "${cflags[@]}" $3 examples/avr/beacon.c "${core[@]}" -o "$out/beacon-$1.elf"
  read -r text data bss < <(avr-size "$out/beacon-$1.elf" | awk 'NR==2 {print $1, $2, $3}')
  footprint="flash $((text - text0 + data - data0)), static RAM $((data - data0 + bss - bss0)), stack $stack"
}
check_build fst4w -DCHECK_FST4W_ONLY -DBEACON_FST4W_ONLY
fst4w_footprint=$footprint
check_build both "" ""
both_footprint=$footprint

# The tool's BEACON.H from a real run of the native build (made here when
# missing), compiled with FST4_SYMBOLS_IN_FLASH: nothing in RAM, and
# FST4_SYMBOL(i) on the part gives the run's report symbols.
cmake --preset default >/dev/null
cmake --build build/default -j"$(nproc)" --target sympack sympack-cmd fst4sim_tool >/dev/null
run="$out/header-run"
rm -rf "$run" && mkdir -p "$run" && cp build/default/bin/FST4SIM.EXE "$run/"
(cd "$run" && printf 'CQ K1ABC FN42\nBEACON.H\n' | ../../default/bin/sympack > transcript.txt)
avr-gcc "${cflags[@]}" -I"$run" examples/avr/header.c -o "$out/header.elf"
read -r _ data bss < <(avr-size "$out/header.elf" | awk 'NR==2 {print $1, $2, $3}')
if [ "$((data + bss))" != 0 ]; then
  echo "FAIL: BEACON.H with FST4_SYMBOLS_IN_FLASH puts $((data + bss)) bytes in RAM" >&2; exit 1
fi
reported=$(grep -A16 -m1 '^Channel symbols' "$run/transcript.txt" | tail -n 16 | tr -dc 0-3)
read_back=$(simulate "$out/header.elf")
if [ "${#reported}" != 160 ] || [ "$read_back" != "$reported" ]; then
  echo "FAIL: FST4_SYMBOL(i) from flash gives $read_back, the report $reported" >&2; exit 1
fi
echo "BEACON.H in flash: FST4_SYMBOL(i) gives the report's 160 symbols on the part" >&2

# The slot timing links no floating point: a firmware asking for both
# timings of a period known only at run time holds no soft-float routine.
cat > "$out/timing.c" <<'C'
#include <fst4/fst4.h>
volatile unsigned period = 120;
volatile uint32_t sink;
int main(void) {
  struct fst4_timing t;
  sink = (uint32_t)fst4_period_timing(period, &t) + (uint32_t)fst4w_timing(period, &t) + t.symbol_microseconds +
         t.tone_spacing_centihertz + t.transmission_milliseconds;
  return 0;
}
C
avr-gcc "${cflags[@]}" "$out/timing.c" fst4/core/fst4_timing.c -o "$out/timing.elf"
if avr-nm "$out/timing.elf" | grep -E ' T (__fp_|__(add|sub|mul|div)sf3|__float|__fix)'; then
  echo "FAIL: the slot timing links floating point" >&2; exit 1
fi
echo "Slot timing: no floating point linked" >&2

# The Arduino library (fst4/arduino): src/ in step with the core and the
# tables, its release zip, and every example built from the zip for the Uno.
scripts/arduino-library.sh

echo "FST4W only: $fst4w_footprint"
echo "FST4 and FST4W: $both_footprint"
