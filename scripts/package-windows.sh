#!/usr/bin/env bash
# Builds the Windows programs with the mingw-w64 cross compiler and packs them
# into build/windows/sympack-<version>-windows-x64.zip: SYMPACK.EXE, and
# FST4SIM.EXE when our simulator is built. Refuses to pack a program that
# needs any DLL beyond those every Windows has.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows --target sympack
targets=$(cmake --build --preset windows --target help)
if grep -q 'fst4sim_tool' <<<"$targets"; then
  cmake --build --preset windows --target fst4sim_tool
fi

bin=build/windows/bin
programs=("$bin/SYMPACK.EXE")
[ -f "$bin/FST4SIM.EXE" ] && programs+=("$bin/FST4SIM.EXE")

# DLLs that ship with every Windows; anything else (a MinGW runtime DLL) would
# make the program fail to start on a bare system.
system_dlls='^(KERNEL32|USER32|msvcrt|ADVAPI32|SHELL32|WS2_32|ole32)\.dll$'
for program in "${programs[@]}"; do
  while read -r dll; do
    if ! [[ $dll =~ $system_dlls ]]; then
      echo "package-windows: $program imports $dll, which Windows does not ship" >&2
      exit 1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
done

version=$(sed -n 's/^project(sympack .*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=build/windows/sympack-${version}-windows-x64.zip
rm -f "$zip"
/usr/bin/python3 - "$zip" "${programs[@]}" <<'PY'
import os, sys, zipfile
target, programs = sys.argv[1], sys.argv[2:]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
    for program in programs:
        archive.write(program, os.path.basename(program))
PY
echo "$zip"
