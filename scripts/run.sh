#!/usr/bin/env bash
# Sets up, builds and runs sympack in a working folder that holds the
# simulator, passing on any arguments as the message.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
SYMPACK_WINDOWS=0 SYMPACK_REFERENCE=0 SYMPACK_FUZZ=0 "$root/scripts/setup.sh"
cd "$root"
cmake --preset default >/dev/null
cmake --build build/default -j"$(nproc)" --target sympack sympack-cmd fst4sim_tool >/dev/null
work="${SYMPACK_WORKDIR:-$root/work}"
mkdir -p "$work"
cp -f "$root/build/default/bin/FST4SIM.EXE" "$work/FST4SIM.EXE"  # our own simulator
cd "$work"
exec "$root/build/default/bin/sympack" "$@"
