#!/usr/bin/env bash
# Checks that the tool's layers stand on each other one way:
#   text/ <- console/screen.h (the screen, keys and terminal interfaces)
#         <- platform/*.h (the System's roles) and the console's rules
#         <- the tool's logic <- platform/posix, platform/win32 (the host)
# The console includes nothing of the platform; the platform's interfaces
# include of the console its interfaces only; and the unit test binary given
# as the argument links no host System (only the in-memory one). And no
# source file grows past kMaxLines: a file that long holds more than one job.
#   check-layers.sh [unit-test-binary [nm]]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
if grep -rn '#include "platform/' "$root/src/console"; then
  echo "check-layers: the console includes the platform (above)" >&2
  status=1
fi
if grep -n '#include "console/' "$root"/src/platform/*.h | grep -v '"console/screen.h"'; then
  echo "check-layers: a platform interface includes more of the console than its interfaces (above)" >&2
  status=1
fi
kMaxLines=300
long="$(cd "$root" && find src tools fst4 tests scripts examples fuzz bench cmake -not -path '*/build/*' \
  \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.py' -o -name '*.sh' \
     -o -name '*.cmake' -o -name '*.ino' -o -name '*.asm' -o -name CMakeLists.txt \) -print0 |
  xargs -0 wc -l | awk -v max="$kMaxLines" '$2 != "total" && $1 > max')"
if [ -n "$long" ]; then
  echo "$long"
  echo "check-layers: source files over $kMaxLines lines (above)" >&2
  status=1
fi
if [ $# -ge 1 ]; then
  nm="${2:-nm}"
  symbols="$("$nm" -C "$1")"
  if grep -m5 -E 'PosixSystem|Win32System|MakeHostSystem' <<<"$symbols"; then
    echo "check-layers: $1 links a host System (above)" >&2
    status=1
  fi
fi
exit "$status"
