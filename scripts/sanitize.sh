#!/usr/bin/env bash
# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer:
# CMake preset "sanitize" (CMakePresets.json), built in build-sanitize/.
# Extra arguments go to ctest. Every AddressSanitizer and leak report,
# including those of programs the tests start (chathost, zorvel), lands in
# build-sanitize/sanitizer-logs/; any report there fails the run. g++'s
# UndefinedBehaviorSanitizer, beside ASan, writes only to standard error: it
# ends the process with status 1, which fails a test at once but shows in a
# started program only through how the test sees it end.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_sanitize[@]}"
scripts/setup-irc.sh

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize

logs=build-sanitize/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
status=0
ctest --preset sanitize "$@" || status=$?

if [ -n "$(ls -A "$logs")" ]; then
  for report in "$logs"/*; do
    echo "=== sanitizer report $report"
    cat "$report"
  done
  echo "sanitize: $(find "$logs" -type f | wc -l) sanitizer report(s) in $logs"
  exit 1
fi
exit "$status"
