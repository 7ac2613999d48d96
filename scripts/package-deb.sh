#!/usr/bin/env bash
# Makes the Debian package from the native build (build/default, brought up
# to date first) and checks it: unpacked with dpkg -x into an empty folder,
# its programs run from there, its manual pages render, a project of its own
# finds the fst4 library in it with find_package and with pkg-config, and
# lintian finds nothing beyond the tags explained in docs/packages.md (the
# package carries them as overrides).
# Also checks `cmake --install` into a temporary prefix the same way.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build=build/default
cmake --preset default >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "package-deb: $*" >&2; exit 1; }

# Everything a user or another project gets from an installed tree under $1.
check_tree() {
  local prefix=$1 simulator=$2
  [ "$("$prefix/bin/sympack" --version)" = "sympack $version" ] || fail "$prefix: sympack --version"
  "$prefix/bin/sympack-cmd" /C TYPE "$prefix/share/doc/sympack/NOTICE" | grep -q WSJT-X || fail "$prefix: sympack-cmd"
  local symbols
  symbols=$(cd "$scratch" && "$simulator" "K1ABC FN42 37" 120 1500 0 0 0 0 0 F | sed -n '/Channel symbols/,$p' | tr -cd 0-3)
  [ ${#symbols} -eq 160 ] || fail "$simulator printed ${#symbols} symbols"
  # The first run after install: a fresh folder has no FST4SIM.EXE, and the
  # installed one is called, by its path.
  local fresh="$scratch/fresh" log
  mkdir "$fresh"
  log=$(cd "$fresh" && printf '\n' | "$prefix/bin/sympack" "cq k1abc fn42") || fail "$prefix: a first run in a fresh folder"
  grep -qxF "No FST4SIM.EXE in this folder: calls $(realpath "$simulator")" <<<"$log" ||
    fail "$prefix: the first run does not say which simulator it calls"
  [ "$(sed -n 2p "$fresh/FST4.INC" | tr -d '\r')" = "        de   0x1E, 0x4B, 0x4F, 0x5B, 0xCD, 0xD4, 0xA9, 0x75" ] ||
    fail "$prefix: the first run wrote no FST4.INC of the message"
  rm -rf "$fresh"
  for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
  done
  # A project of its own builds against the library, both ways.
  cmake -S examples/fst4_symbols -B "$scratch/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$scratch/consumer" >/dev/null
  local found
  found=$("$scratch/consumer/fst4_symbols" "K1ABC FN42 37" | sed -n 2p)
  [ "$found" = "$symbols" ] || fail "the consumer project's symbols differ from FST4SIM.EXE's"
  g++ -o "$scratch/consumer-pc" examples/fst4_symbols/main.cpp \
      $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs fst4)
  [ "$("$scratch/consumer-pc" "K1ABC FN42 37" | sed -n 2p)" = "$symbols" ] || fail "pkg-config build differs"
  rm -rf "$scratch/consumer" "$scratch/consumer-pc"
}

echo "== cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
check_tree "$scratch/prefix" "$scratch/prefix/libexec/sympack/FST4SIM.EXE"

echo "== Debian package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/sympack_"$version"_*.deb)
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\):/  \1:/p'
dpkg -x "$deb" "$scratch/deb"
check_tree "$scratch/deb/usr" "$scratch/deb/usr/libexec/sympack/FST4SIM.EXE"
lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian reports errors or warnings"
echo "$deb: installs, runs and builds a consumer; lintian clean (overrides: docs/packages.md)"
