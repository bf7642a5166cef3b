#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang in build-fuzz/ and runs
# each for the given number of seconds (default 60), starting from its
# committed seeds plus what earlier runs found (build-fuzz/corpus/<target>).
# A crash fails the run and leaves its input in build-fuzz/crashes/<target>/;
# rerun it with build-fuzz/tests/fuzz/<target> <file>.
#   scripts/fuzz.sh 60     # the short run CI does
#   scripts/fuzz.sh 600    # ten minutes per target
#   scripts/fuzz.sh --build-only
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=false
if [ "${1:-}" = --build-only ]; then
  build_only=true
  shift
fi
seconds=${1:-60}
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_fuzz[@]}"

cmake --preset fuzz >/dev/null
targets=(fuzz_profile fuzz_request)
cmake --build build-fuzz --target "${targets[@]}"
if $build_only; then
  exit 0
fi

declare -A seeds=([fuzz_profile]=tests/fuzz/corpus/profile [fuzz_request]=tests/fuzz/corpus/request)
status=0
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  crashes=build-fuzz/crashes/$target
  log=build-fuzz/$target.log
  mkdir -p "$corpus" "$crashes"
  echo "fuzz: $target for ${seconds}s (log $log)"
  result=0
  # New inputs go to the first folder; the seeds are only read.
  build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "${seeds[$target]}" \
    >"$log" 2>&1 || result=$?
  grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
  echo "fuzz: $target corpus now $(find "$corpus" -type f | wc -l) inputs"
  if [ "$result" -ne 0 ]; then
    echo "fuzz: $target FAILED (status $result); its report:"
    grep -A40 -E 'ERROR: |fuzz: broken|runtime error' "$log" | head -80 || tail -40 "$log"
    ls "$crashes"
    status=1
  fi
done
exit "$status"
