#!/usr/bin/env bash
# Sets up and builds as the run command does, then tests.
#   scripts/test.sh               everything, as CI runs it: the formatting and
#                                 script checks (scripts/check-style.sh), the suite, the Windows
#                                 build's tests under Wine (scripts/test-windows.sh),
#                                 the suite again under ASan and UBSan
#                                 (scripts/sanitize.sh), then a minute of fuzzing
#                                 per target (scripts/fuzz.sh 60)
#   scripts/test.sh <ctest args>  only the suite, with those arguments to ctest
# Any stage that fails fails the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."
# A warning fails the test command's builds (the presets it uses say so too).
scripts/setup.sh -DZORVEL_WERROR=ON
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_test[@]}"
# The IRC tests' server and observer client.
scripts/setup-irc.sh

suite() { (cd build && ctest --output-on-failure --timeout 600 "$@"); }
if (($#)); then
  suite "$@"
  exit
fi

stage() {
  local name=$1 start=$SECONDS
  shift
  echo "test: stage $name"
  "$@" || { echo "test: stage $name FAILED after $((SECONDS - start))s"; exit 1; }
  echo "test: stage $name passed in $((SECONDS - start))s"
}
stage style scripts/check-style.sh
stage suite suite
stage windows scripts/test-windows.sh
stage sanitize scripts/sanitize.sh
stage fuzz scripts/fuzz.sh 60
