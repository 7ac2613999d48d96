#!/usr/bin/env bash
# Builds the Windows programs with the mingw-w64 cross compiler and packs them
# with CPack into build/windows/sympack-<version>-windows-x64.zip: one folder
# holding SYMPACK.EXE, our FST4SIM.EXE, README.txt, LICENSE.txt and
# NOTICE.txt. Refuses a program that needs any DLL beyond those every Windows
# has, and checks what the zip holds.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows --target sympack fst4sim_tool

bin=build/windows/bin
# DLLs that ship with every Windows; anything else (a MinGW runtime DLL) would
# make the program fail to start on a bare system.
system_dlls='^(KERNEL32|USER32|msvcrt|ADVAPI32|SHELL32|WS2_32|ole32)\.dll$'
for program in "$bin/SYMPACK.EXE" "$bin/FST4SIM.EXE"; do
  while read -r dll; do
    if ! [[ $dll =~ $system_dlls ]]; then
      echo "package-windows: $program imports $dll, which Windows does not ship" >&2
      exit 1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
name=sympack-${version}-windows-x64
rm -f "build/windows/$name.zip"
(cd build/windows && cpack -G ZIP >/dev/null)

# The zip unpacks into one folder with the two programs side by side (the
# tool wants the simulator in its folder) and texts a Windows editor shows
# as lines; README.txt names this version.
python3 - "build/windows/$name.zip" "$name" "$version" <<'PY'
import sys, zipfile
path, folder, version = sys.argv[1:]
with zipfile.ZipFile(path) as archive:
    names = {n for n in archive.namelist() if not n.endswith("/")}
    for program in ("SYMPACK.EXE", "FST4SIM.EXE"):
        if archive.read(f"{folder}/{program}")[:2] != b"MZ":
            sys.exit(f"package-windows: {program} is not a Windows program")
    for text in ("README.txt", "LICENSE.txt", "NOTICE.txt"):
        data = archive.read(f"{folder}/{text}")
        if data.count(b"\n") != data.count(b"\r\n"):
            sys.exit(f"package-windows: {text} has line ends other than CR LF")
    if f"sympack {version}".encode() not in archive.read(f"{folder}/README.txt"):
        sys.exit("package-windows: README.txt does not name the version")
    print("\n".join(sorted(names)))
PY
echo "build/windows/$name.zip"
