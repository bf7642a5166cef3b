#!/bin/sh
# Runs a Windows program of the build under Wine: CMake's cross-compiling
# emulator for the "windows" preset, so ctest runs the tests this way.
# scripts/test-windows.sh provides the Wine prefix, the display and WINEDEBUG;
# a run without a prefix of its own gets a temporary one, never the user's.
set -eu
wine=/usr/lib/wine/wine64
own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d)
  export WINEPREFIX="$own_prefix/prefix" WINEDEBUG=-all
fi
cleanup() {
  if [ -n "$own_prefix" ]; then
    WINEPREFIX="$own_prefix/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$own_prefix"
  fi
}
trap cleanup EXIT

case $(basename "$1") in
tst_*.exe)
  # Under Wine without a terminal a QtTest program's log does not reach
  # standard output: it goes to a file instead, shown when the test ends.
  log=$(mktemp)
  status=0
  "$wine" "$@" -o "Z:$log,txt" || status=$?
  cat "$log"
  rm -f "$log"
  exit "$status"
  ;;
*)
  "$wine" "$@"
  ;;
esac
