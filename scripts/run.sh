#!/usr/bin/env bash
# Sets up, builds and runs sympack in a working folder that holds the
# simulator, passing on any arguments as the message.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
SYMPACK_WINDOWS=0 SYMPACK_REFERENCE=0 "$root/scripts/setup.sh"
cmake --preset default -S "$root" >/dev/null
cmake --build "$root/build/default" -j"$(nproc)" --target sympack sympack-cmd fst4sim_tool >/dev/null
work="${SYMPACK_WORKDIR:-$root/work}"
mkdir -p "$work"
# Our own simulator, unless the folder already holds one the user put there.
[ -e "$work/FST4SIM.EXE" ] || cp "$root/build/default/bin/FST4SIM.EXE" "$work/FST4SIM.EXE"
cd "$work"
exec "$root/build/default/bin/sympack" "$@"
