#!/usr/bin/env bash
# Sets up and builds as the run command does, then tests.
#   scripts/test.sh               everything, as CI runs it: the suite, the Windows
#                                 build's tests under Wine (scripts/test-windows.sh),
#                                 the suite again under ASan and UBSan
#                                 (scripts/sanitize.sh), then a minute of fuzzing
#                                 per target (scripts/fuzz.sh 60)
#   scripts/test.sh <ctest args>  only the suite, with those arguments to ctest
# Any stage that fails fails the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# What only the tests use: a Wayland compositor with Xwayland, the package's
# builders and Debian's checkers, and a watch on the installed click sound.
scripts/install-missing.sh weston xwayland dpkg-dev file lintian desktop-file-utils \
  appstream inotify-tools
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
stage suite suite
stage windows scripts/test-windows.sh
stage sanitize scripts/sanitize.sh
stage fuzz scripts/fuzz.sh 60
