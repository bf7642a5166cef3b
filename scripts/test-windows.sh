#!/usr/bin/env bash
# The Windows stage of the test command: builds zorvel.exe, chathost.exe and
# the Windows tests with MinGW-w64 (CMake preset "windows", in build-windows/)
# and runs the tests under Wine, in a Wine prefix of their own in a temporary
# folder, on a virtual screen (Xvfb). Extra arguments go to ctest.
#   scripts/test-windows.sh                 build, then every Windows test
#   scripts/test-windows.sh -R tst_programs only zorvel.exe with chathost.exe
#   scripts/test-windows.sh --build-only    only the build
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_windows[@]}"
if [ ! -f ../shared/qt-mingw/lib/cmake/Qt6/Qt6Config.cmake ]; then
  echo "test-windows: no Qt for MinGW in ../shared/qt-mingw beside the checkout" >&2
  exit 1
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
if [ "${1:-}" = --build-only ]; then
  exit 0
fi

work=$(mktemp -d)
xvfb_pid=""
finish() {
  if [ -d "$work/prefix" ]; then
    # Every Wine process of the prefix ends, and its server with them.
    WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
  fi
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

export DISPLAY=":$n" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The system's ANSI code page is then Windows-1252, as on a western Windows.
export LANG=C.UTF-8
# The tests may change this prefix's registry and system folder.
export ZORVEL_WINE_TEST_PREFIX=1
start=$SECONDS
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
echo "test-windows: Wine prefix made in $((SECONDS - start))s"
ctest --preset windows "$@"
