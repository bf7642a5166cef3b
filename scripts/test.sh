#!/usr/bin/env bash
# Sets up and builds as the run command does (the tests too), then tests.
#   scripts/test.sh               everything, as CI runs it: the formatting and
#                                 script checks (scripts/check-style.sh), the suite, the Windows
#                                 build's tests under Wine (scripts/test-windows.sh),
#                                 the suite again under ASan and UBSan
#                                 (scripts/sanitize.sh), a minute of fuzzing
#                                 per target (scripts/fuzz.sh 60), then the
#                                 benchmarks' build (not run); at the end
#                                 each stage's time. The later stages' builds
#                                 go ahead in the background from the suite on.
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
  scripts/setup.sh --tests -DZORVEL_WERROR=ON
  # Every later stage's packages at once, so that the builds that go ahead in
  # the background never wait on the package lock.
  # shellcheck source=scripts/packages.sh
  source scripts/packages.sh
  scripts/install-missing.sh "${packages_test[@]}" "${packages_style[@]}" "${packages_windows[@]}" \
    "${packages_sanitize[@]}" "${packages_fuzz[@]}"
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

# The suite mostly waits on the programs it starts, so the later stages'
# builds go ahead meanwhile, one after another at the lowest priority; each
# stage waits for its own to be done, then runs its build step, which finds
# nothing left (or, if the early build failed, fails with its messages).
early=build/early-builds
early_pid=""
early_builds() {
  rm -rf "$early"
  mkdir -p "$early"
  # A session of its own, so that it ends whole with this script.
  # shellcheck disable=SC2016 # the inner script expands its own variables
  setsid nice -n 19 bash -c '
    early=$1
    for step in windows sanitize fuzz benchmarks; do
      case $step in
        windows) scripts/test-windows.sh --build-only ;;
        sanitize) scripts/sanitize.sh --build-only ;;
        fuzz) scripts/fuzz.sh --build-only ;;
        # In build/ itself: not while the suite runs (the package test
        # builds there too).
        benchmarks)
          while [ ! -e "$early/suite.done" ]; do sleep 1; done
          cmake --build --preset default --target bench_programs
          ;;
      esac >"$early/$step.log" 2>&1 || true
      touch "$early/$step.done"
    done' early-builds "$early" &
  early_pid=$!
}
await() {
  while [ ! -e "$early/$1.done" ] && kill -0 "$early_pid" 2>/dev/null; do sleep 1; done
}
finish_early() { [ -z "$early_pid" ] || kill -- "-$early_pid" 2>/dev/null || true; }
trap finish_early EXIT
trap 'exit 130' INT TERM

stage build setup
early_builds
stage style scripts/check-style.sh
stage suite suite
touch "$early/suite.done"
stage windows eval 'await windows && scripts/test-windows.sh'
stage sanitize eval 'await sanitize && scripts/sanitize.sh'
stage fuzz eval 'await fuzz && scripts/fuzz.sh 60'
# The benchmarks are not run here, only kept building.
stage benchmarks eval 'await benchmarks && cmake --build --preset default --target bench_programs'
summary
