#!/usr/bin/env bash
# The Arduino library, fst4/arduino, in the Library Manager layout
# (library.properties, library.json for PlatformIO, src/, examples/).
#   scripts/arduino-library.sh            checks that src/ holds exactly the
#       core's sources and headers and the tables the generator writes (fails
#       on any difference), makes the release zip the IDE's "Add .ZIP Library"
#       takes (build/arduino/FST4W-<version>.zip), unpacks it into an empty
#       libraries folder and builds every example from there for the Uno
#   scripts/arduino-library.sh --update   rewrites src/ from fst4/core, the
#       public headers and the tables generator
#   scripts/arduino-library.sh --compile SKETCH.ino BUILD_DIR [LIBRARIES_DIR]
#       builds one sketch for the Uno (with fst4/arduino unless another
#       libraries folder is named); the firmware is BUILD_DIR/<sketch>.ino.elf.
#       ARDUINO_ELF_FLAGS, when set, goes to the link (a simulator's anchor).
set -euo pipefail
cd "$(dirname "$0")/.."
library=fst4/arduino
out=build/arduino
mkdir -p "$out"

# src/ as the sources give it: the core's .c and .h, the public headers
# under fst4/ (the core includes them as <fst4/...>; the IDE puts src/ on the
# include path), the generated LDPC tables, and the library's own FST4W.h.
assemble() {  # folder to fill
  mkdir -p "$1/fst4"
  cp fst4/core/*.[ch] "$1/"
  cp fst4/include/fst4/fst4.h fst4/include/fst4/fst4_flash.h "$1/fst4/"
  cmake -DFST4_TABLES_OUT="$1" -P fst4/tables/generate_tables.cmake
  cp "$library/src/FST4W.h" "$1/"
}

# arduino-builder wants one hardware folder holding the boards' packages, a
# platform.txt with the recipes it adds (ctags among them) and a tools folder
# for the compiler. Debian's arduino-core-avr and arduino-builder install the
# pieces in two places, and only the IDE package (which we do not install)
# joins them, so the build makes its own folder of links.
hardware=$PWD/$out/hardware
if [ ! -e "$hardware/tools/avr/bin" ]; then
  rm -rf "$hardware" && mkdir -p "$hardware/tools/avr"
  ln -s /usr/share/arduino/hardware/arduino "$hardware/arduino"
  ln -s /usr/share/arduino-builder/platform.txt "$hardware/platform.txt"
  ln -s /usr/share/arduino-builder/platform.keys.rewrite.txt "$hardware/platform.keys.rewrite.txt"
  ln -s "$(dirname "$(command -v avr-gcc)")" "$hardware/tools/avr/bin"
fi
# Debian's arduino-core-avr 1.8.7 expects a newer avr-gcc whose <float.h>
# gives C++ DECIMAL_DIG; its own String class needs the definition.
compile() {  # sketch, build folder, libraries folder; prints the sketch's flash and RAM
  # The log stays beside the build folder: arduino-builder empties the folder
  # when the build's options change.
  mkdir -p "$2"
  arduino-builder -compile -hardware "$hardware" -tools "$hardware/tools/avr" -tools /usr/share/arduino-builder \
    -fqbn arduino:avr:uno -libraries "$3" -prefs "compiler.cpp.extra_flags=-DDECIMAL_DIG=__DECIMAL_DIG__" \
    -prefs "compiler.c.elf.extra_flags=${ARDUINO_ELF_FLAGS:-}" \
    -build-path "$(realpath "$2")" "$1" > "$2.log" 2>&1 || { cat "$2.log" >&2; return 1; }
  grep -h '^Sketch uses\|^Global variables' "$2.log" | tr '\n' ' ' | sed 's/ $/\n/'
}

case "${1:-}" in
  --compile)
    libraries=${4:-}
    if [ -z "$libraries" ]; then  # fst4/arduino under the library's own name
      libraries=$out/libraries
      rm -rf "$libraries" && mkdir -p "$libraries" && ln -s "$PWD/$library" "$libraries/FST4W"
    fi
    compile "$2" "$3" "$libraries"
    exit 0 ;;
  --update)
    find "$library/src" -type f ! -name FST4W.h -delete
    fresh=$(mktemp -d) && trap 'rm -rf "$fresh"' EXIT
    assemble "$fresh" && cp -r "$fresh/." "$library/src/"
    exit 0 ;;
esac

fresh=$(mktemp -d) && trap 'rm -rf "$fresh"' EXIT
assemble "$fresh/src"
if ! diff -r "$fresh/src" "$library/src" >&2; then
  echo "FAIL: $library/src differs from fst4/core, the headers and the tables; scripts/arduino-library.sh --update" >&2
  exit 1
fi
version=$(sed -n 's/^version=//p' "$library/library.properties")
if ! grep -q "\"version\": \"$version\"" "$library/library.json"; then
  echo "FAIL: library.json's version is not library.properties' $version" >&2; exit 1
fi

# The release zip: one folder named as the library, with the licence and
# the notice of where the protocol's tables come from.
zip=$out/FST4W-$version.zip
python3 - "$library" "$zip" <<'PY'
import os, sys, zipfile
library, target = sys.argv[1], sys.argv[2]
extra = {"LICENSE": "LICENSE", "NOTICE": "NOTICE"}
with zipfile.ZipFile(target + ".new", "w", zipfile.ZIP_DEFLATED) as z:
    for folder, dirs, files in sorted(os.walk(library)):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.join("FST4W", os.path.relpath(path, library)))
    for name, source in extra.items():
        z.write(source, "FST4W/" + name)
os.replace(target + ".new", target)
PY
echo "Arduino library: $library/src in step with the core and the tables; $zip" >&2

# Every example, built from the zip unpacked into an empty libraries folder.
unpacked=$fresh/libraries
mkdir -p "$unpacked"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$unpacked"
for sketch in "$unpacked"/FST4W/examples/*/*.ino; do
  name=$(basename "$sketch" .ino)
  sizes=$(compile "$sketch" "$out/examples/$name" "$unpacked")  # a failed build ends the script
  echo "$name for the Uno from the zip: $sizes" >&2
done
