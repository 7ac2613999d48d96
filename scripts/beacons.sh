#!/usr/bin/env bash
# Proof on the air: for each message, makes the include file with the tool
# itself (build/default/bin/sympack with our FST4SIM.EXE, the answers on
# standard input), runs every example beacon with it (the Uno's with the
# message, which it encodes itself) on its simulated part
# for a whole transmission, turns what the part puts out into a slot of
# 12 kHz audio with noise (tests/beacons/air.py) and has WSJT-X's jt9 decode
# it. Prints "<example>: <message> decoded as <text>" for each; fails when a
# beacon sends anything else, or nothing. Once, it also sends a damaged
# include file and fails if that decodes as the message.
#   scripts/beacons.sh [MESSAGE ...]
# A MESSAGE that starts with "--fst4w " is made with the tool's --fst4w (the
# FST4W form). FST4 messages are sent in 15 s slots, FST4W ones in 120 s.
# Without messages: an FST4 message and an FST4W pair, the second of which
# needs --fst4w.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=build/beacons
tool=$root/build/default/bin

# The PIC examples run from a slow oscillator, so that gpsim goes through a
# 120 s slot in seconds: 384 kHz gives 64 instruction cycles a tick
# (1/1500 s), enough for the next symbol to be fetched within one.
pic_fosc=384000

# One function per example: example_NAME FOLDER PERIOD FORM, where FOLDER
# holds the message's FST4.INC (make_symbols makes other files, a C header
# say), PERIOD is the T/R period in seconds and FORM fst4 or fst4w. Prints
# each text jt9 decodes from the example's transmission, one a line.
examples=(pic16f628a pic18f2520 pic18f2520_flash uno)

# pic_beacon PART SOURCE REGISTER FOLDER PERIOD FORM [gpasm options]: the
# beacon starts two seconds before a slot boundary; gpsim logs every write
# to the tone port with its cycle and stops once the transmission is over.
pic_beacon() {
  local part=$1 source=$2 register=$3 folder=$4 period=$5 form=$6
  shift 6
  local start=$((period - 2)) name
  name=$(basename "$source" .asm)$(printf '%s' "$*" | tr -c 'A-Za-z0-9' '_')
  gpasm -D FOSC="$pic_fosc" -D PERIOD="$period" -D START_SECOND="$start" "$@" \
        -I "$folder" -o "$folder/$name.hex" "examples/pic/$source" >/dev/null
  rm -f "$folder/$name.log"
  printf '%s\n' "processor $part" "load $folder/$name.cod" "log on $folder/$name.log" \
         "log w $register" "break e sent" "break c $(( (period + 5) * pic_fosc / 4 ))" "run" "quit" \
         > "$folder/$name.stc"
  gpsim -i -c "$folder/$name.stc" > "$folder/$name.gpsim.txt" 2>&1
  local w=()
  [ "$form" = fst4w ] && w=(--fst4w)
  python3 tests/beacons/pic_air.py --log "$folder/$name.log" --register "$register" \
          --fosc "$pic_fosc" --start-second "$start" --period "$period" "${w[@]}"
}
example_pic16f628a() { pic_beacon p16f628a beacon_16f628a.asm portb "$@"; }
example_pic18f2520() { pic_beacon p18f2520 beacon_18f2520.asm latb "$@"; }
example_pic18f2520_flash() { pic_beacon p18f2520 beacon_18f2520.asm latb "$@" -D SYMBOLS_IN_FLASH; }

# The Uno's audio beacon (fst4/arduino's FST4WAudioBeacon) encodes the
# message itself with the fst4 library, so it takes the typed message rather
# than the include file; tests/beacons/uno.py builds it, runs it under simavr
# and decodes its audio pin.
example_uno() {
  local w=()
  [ "$3" = fst4w ] && w=(--fst4w)
  python3 tests/beacons/uno.py --texts --period "$2" "${w[@]}" "$message" || true
}

# make_symbols FOLDER DESTINATION [--fst4w]: runs the tool in FOLDER with
# $message typed and DESTINATION as the answer; its transcript goes to
# FOLDER/DESTINATION.txt.
make_symbols() {
  local folder=$1 destination=$2
  shift 2
  cp "$tool/FST4SIM.EXE" "$folder/"
  (cd "$folder" && printf '%s\n%s\n' "$message" "$destination" |
     "$tool/sympack" "$@" > "$destination.txt") ||
    { echo "sympack failed on '$message' (exit code $?)" >&2; return 1; }
}

cmake --preset default >/dev/null
cmake --build build/default -j2 --target sympack sympack-cmd fst4sim_tool >/dev/null
[ $# -gt 0 ] || set -- "CQ K1ABC FN42" "--fst4w K1ABC FN42 37" "--fst4w <K1ABC> FN42AB"
rm -rf "$out"
mkdir -p "$out"

failed=0
index=0
for typed in "$@"; do
  index=$((index + 1))
  options=()
  message=$typed
  if [ "${typed#--fst4w }" != "$typed" ]; then
    options=(--fst4w)
    message=${typed#--fst4w }
  fi
  folder=$root/$out/$index
  mkdir -p "$folder"
  make_symbols "$folder" FST4.INC "${options[@]}"
  # The report's "iwspr: 1" says the symbols are an FST4W frame.
  if grep -q 'iwspr: *1' "$folder/FST4.INC.txt"; then form=fst4w period=120; else form=fst4 period=15; fi
  expected=$(printf '%s' "$message" | tr 'a-z' 'A-Z' | tr -s ' ')
  # The examples side by side (each is one process at a time), reported in order.
  for example in "${examples[@]}"; do
    { "example_$example" "$folder" "$period" "$form" || echo "(the run failed)"; } \
      > "$folder/$example.decoded" 2> "$folder/$example.errors" &
  done
  wait
  for example in "${examples[@]}"; do
    cat "$folder/$example.errors" >&2
    texts=$(cat "$folder/$example.decoded")
    [ -n "$texts" ] || texts="nothing"
    while IFS= read -r text; do
      echo "$example: $message decoded as $text"
      [ "$text" = "$expected" ] || failed=1
    done <<< "$texts"
  done

  # Once: a damaged include file must not pass. One changed symbol would
  # not do: FST4's LDPC code corrects it (jt9 decodes such a slot as the
  # message). The four symbols of every byte in reverse order, as a beacon
  # that unpacks them the wrong way round would send them, must not decode.
  if [ "$index" -eq 1 ]; then
    damaged=$folder/damaged
    mkdir -p "$damaged"
    python3 - "$folder/FST4.INC" "$damaged/FST4.INC" <<'PY'
import re, sys
text = open(sys.argv[1], newline="").read()
def reverse(match):
    v = int(match.group(1), 16)
    return "0x%02X" % sum(((v >> (2 * i)) & 3) << (6 - 2 * i) for i in range(4))
open(sys.argv[2], "w", newline="").write(re.sub(r"0x([0-9A-F]{2})", reverse, text))
PY
    texts=$("example_${examples[0]}" "$damaged" "$period" "$form") || texts="(the run failed)"
    [ -n "$texts" ] || texts="nothing"
    while IFS= read -r text; do
      echo "${examples[0]}: $message, damaged include (symbols reversed within each byte), decoded as $text"
      [ "$text" != "$expected" ] || failed=1
    done <<< "$texts"
  fi
done
exit "$failed"
