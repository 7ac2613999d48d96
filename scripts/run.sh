#!/usr/bin/env bash
# Sets up, builds and runs sympack in a working folder that holds the
# simulator, passing on any arguments as the message.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
SYMPACK_WINDOWS=0 "$root/scripts/setup.sh"
cmake --preset default -S "$root" >/dev/null
cmake --build "$root/build/default" -j"$(nproc)" --target sympack sympack-cmd >/dev/null
work="${SYMPACK_WORKDIR:-$root/work}"
mkdir -p "$work"
if [ -x "$root/build/default/bin/FST4SIM.EXE" ]; then
  cp "$root/build/default/bin/FST4SIM.EXE" "$work/FST4SIM.EXE"
elif [ -x /usr/bin/fst4sim ]; then
  cp /usr/bin/fst4sim "$work/FST4SIM.EXE"
fi
cd "$work"
exec "$root/build/default/bin/sympack" "$@"
