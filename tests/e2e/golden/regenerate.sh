#!/usr/bin/env bash
# Regenerates the golden files of the end-to-end tests (see ../golden.py)
# from real runs of the built tool; read the diff before committing it.
#   tests/e2e/golden/regenerate.sh [build folder, default build/default]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
bin="$(cd "${1:-$root/build/default}" && pwd)/bin"
python="$(grep '^SYMPACK_TEST_PYTHON:' "$bin/../CMakeCache.txt" | cut -d= -f2)"

# The include file: the tool with the real simulator, no terminal, Enter at
# the destination prompt.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$bin/FST4SIM.EXE" "$work/"
(cd "$work" && printf '\n' | LC_ALL=C "$bin/sympack" cq k1abc fn42 >/dev/null)
cp "$work/FST4.INC" "$here/cq_k1abc_fn42.inc"
# For the eye: WSJT-X's own listing of the same message, when installed.
if command -v fst4sim >/dev/null; then
  (cd "$work" && fst4sim "CQ K1ABC FN42" 120 1500 0.0 0 0 0 0 F | sed -n '/Channel symbols/,$p')
fi

# The tables: each table test records what the tool did (a test that reads
# a row another has not written yet may fail in this pass), then every module
# runs again against the new files.
rm -f "$here"/*.json
cd "$root/tests/e2e"
run_modules() {
  local failed=0 module
  for module in test_*.py; do
    SYMPACK_BIN_DIR="$bin" SYMPACK_E2E_RUNNER=posix PYTHONDONTWRITEBYTECODE=1 "$@" \
      "$python" side_by_side.py "${module%.py}" || failed=1
  done
  return "$failed"
}
run_modules env SYMPACK_E2E_GOLDEN=write || true
run_modules env
git -C "$root" diff --stat -- tests/e2e/golden
