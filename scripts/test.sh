#!/usr/bin/env bash
# Sets up and builds as the run command does (the tests and benchmarks too),
# then tests.
#   scripts/test.sh               everything, as CI runs it: the formatting and
#                                 script checks (scripts/check-style.sh), the suite, the Windows
#                                 build's tests under Wine (scripts/test-windows.sh),
#                                 the suite again under ASan and UBSan
#                                 (scripts/sanitize.sh), then a minute of fuzzing
#                                 per target (scripts/fuzz.sh 60); at the end
#                                 each stage's time
#   scripts/test.sh <ctest args>  only the suite, with those arguments to ctest
# Any stage that fails fails the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."

names=()
durations=()
results=()
summary() {
  echo "test: stage      result  seconds"
  local i total=0
  for i in "${!names[@]}"; do
    printf 'test: %-10s %-7s %7d\n' "${names[$i]}" "${results[$i]}" "${durations[$i]}"
    total=$((total + durations[i]))
  done
  printf 'test: %-10s %-7s %7d\n' total "" "$total"
}
stage() {
  local name=$1 start=$SECONDS result=passed
  shift
  echo "test: stage $name"
  "$@" || result=FAILED
  names+=("$name")
  durations+=($((SECONDS - start)))
  results+=("$result")
  echo "test: stage $name $result in $((SECONDS - start))s"
  if [ "$result" = FAILED ]; then
    summary
    exit 1
  fi
}
setup() {
  # A warning fails the test command's builds (the presets it uses say so too).
  scripts/setup.sh -DZORVEL_WERROR=ON
  # shellcheck source=scripts/packages.sh
  source scripts/packages.sh
  scripts/install-missing.sh "${packages_test[@]}"
  # The IRC tests' server and observer client.
  scripts/setup-irc.sh
}
# Two at a time: the tests wait more than they compute, and those that
# share a resource (an X display number, loopback ports) say so to ctest.
suite() { (cd build && ctest --output-on-failure --timeout 600 -j2 "$@"); }

if (($#)); then
  setup
  suite "$@"
  exit
fi

stage build setup
stage style scripts/check-style.sh
stage suite suite
stage windows scripts/test-windows.sh
stage sanitize scripts/sanitize.sh
stage fuzz scripts/fuzz.sh 60
summary
