#!/usr/bin/env bash
# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer:
# CMake preset "sanitize" (CMakePresets.json), built by clang in
# build-sanitize/. Extra arguments go to ctest. Every report, memory fault,
# leak or undefined behaviour, of every process the tests run (the tests
# themselves and the chathost and zorvel they start, which inherit the
# options), lands with its stack in build-sanitize/sanitizer-logs/; any
# report there fails the run, whatever the test made of the process's end.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_sanitize[@]}"
scripts/setup-irc.sh

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
if [ "${1:-}" = --build-only ]; then
  exit 0
fi

logs=build-sanitize/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
# Some tests run a program as another user (tests/otheruser.h): it must be
# able to write its report too.
chmod 1777 "$logs"
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
