#!/usr/bin/env bash
# Checks that every absolute system path the build and test files name
# exists on this machine and comes from a package scripts/setup.sh installs
# (or one those depend on, or one every Debian system has). CI runs on a
# machine that keeps whatever was once installed there by hand; without
# this check such a leftover could turn CI green where a fresh machine fails.
# Paths under the build tree are made by the scripts themselves and are not
# named this way. Exits non-zero, listing each offending path and its file.
set -euo pipefail
cd "$(dirname "$0")/.."

# Every package setup.sh installs, and what those depend on (installed).
mapfile -t wanted < <(scripts/setup.sh --list)
allowed=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
            --no-breaks --no-replaces --no-enhances "${wanted[@]}" 2>/dev/null | grep -v '^ ' | tr -d '<>' | sort -u)

# The files that build, test, package and benchmark; the names that follow a
# blank, a quote (not one closing a variable), '=', '(', '!' or a line start.
mapfile -t files < <(git ls-files -- scripts .ci cmake tests bench fuzz examples packaging \
                       'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' CMakePresets.json |
                     grep -vE '/corpus/|\.(c|cpp|h|hpp|ino|tsv|hex|md|txt\.in)$' || true)
failures=0
while IFS=: read -r file path; do
  path=${path%%[.:,)]}
  if [ ! -e "$path" ]; then
    echo "check-paths: $file names $path, which this machine lacks" >&2
    failures=$((failures + 1)); continue
  fi
  owner=$(dpkg -S "$path" 2>/dev/null | grep -v '^diversion by' | head -n 1 | cut -d: -f1 | cut -d, -f1 | tr -d ' ' || true)
  if [ -z "$owner" ]; then
    echo "check-paths: $file names $path, which no Debian package gives (made by hand?)" >&2
    failures=$((failures + 1)); continue
  fi
  priority=$(dpkg-query -W -f='${Priority}' "$owner" 2>/dev/null || true)
  essential=$(dpkg-query -W -f='${Essential}' "$owner" 2>/dev/null || true)
  if [ "$essential" != yes ] && [ "$priority" != required ] && [ "$priority" != important ] &&
     ! grep -qxF "$owner" <<<"$allowed"; then
    echo "check-paths: $file names $path, from $owner, which scripts/setup.sh does not install" >&2
    failures=$((failures + 1))
  fi
done < <(grep -HoE '(^|[][:blank:]=(!,:[]|(^|[^A-Za-z0-9_}])["'"'"'])/(usr|opt|etc|bin|sbin|lib|lib64|srv|var)/[A-Za-z0-9._/+-]*[A-Za-z0-9_+-]' \
           "${files[@]}" | sed -E 's#^([^:]*):[^/]*#\1:#' | sort -u)
if [ "$failures" -ne 0 ]; then
  echo "check-paths: $failures system paths a fresh machine would lack (install them in scripts/setup.sh)" >&2
  exit 1
fi
echo "check-paths: every system path the scripts name comes from a package scripts/setup.sh installs"
