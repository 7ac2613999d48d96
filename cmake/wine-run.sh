#!/bin/sh
# Runs a Windows program under Wine with the settings our tests rely on:
#   wine-run.sh [--prefix DIR] PROGRAM.EXE [ARGS...]
# The Wine prefix is private to the build tree (DIR, else $WINEPREFIX), made on
# first use. A persistent wineserver is kept up, so that each start takes a
# fraction of a second; it ends by itself once no Wine program has run for
# SYMPACK_WINESERVER_LINGER seconds. The server does not keep the clipboard
# alive on its own: that lives in the window station, which Wine drops about a
# second after the last program on its desktop has ended.
set -e

if [ "$1" = "--prefix" ]; then
  WINEPREFIX=$2
  shift 2
fi
if [ -z "$WINEPREFIX" ]; then
  echo "wine-run.sh: no Wine prefix given (--prefix DIR or WINEPREFIX)" >&2
  exit 2
fi
export WINEPREFIX
# Without these, Wine's own diagnostics land on the console under test, and a
# new prefix asks to install .NET and Gecko.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

linger=${SYMPACK_WINESERVER_LINGER:-60}

# Making the prefix takes seconds; tests that start together must not make it
# twice, nor start the server twice.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null 9>&-
    wineserver -w
  fi
  # A second server for the same prefix refuses to start (exit code 2), so
  # this starts one only when none is up. What it starts outlives this
  # script and must not hold the lock (descriptor 9).
  if wineserver -p"$linger" >/dev/null 2>&1 </dev/null 9>&-; then
    # The first program of a new server starts Wine's background services
    # (services.exe, rpcss.exe, ...), which take over its standard error and
    # keep it open for as long as the server lives. Started by a test, they
    # would hold the test's pipe, and ctest (or a test listing) would wait
    # for the server's whole linger time. So a throwaway program starts them
    # here, with nothing to inherit.
    wine cmd /c exit >/dev/null 2>&1 </dev/null 9>&-
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
