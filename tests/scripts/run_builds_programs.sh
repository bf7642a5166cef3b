#!/usr/bin/env bash
# The run command builds what it runs: in a tree configured afresh and not
# built, the build of zorvel and chathost (scripts/setup.sh --programs)
# compiles no test and no benchmark, only what the two programs link.
#   run_builds_programs.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

cmake -S "$source_dir" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
plan=$(cmake --build "$tree" --target zorvel chathost -- -n)
compiled=$(grep -c 'Building CXX object' <<<"$plan" || true)
echo "run_builds_programs: $compiled files compiled for zorvel and chathost"
status=0
if grep -E '(tests|bench)/' <<<"$plan"; then
  echo "run_builds_programs: FAIL: the lines above build tests or benchmarks" >&2
  status=1
fi
for program in app/zorvel chathost/chathost; do
  grep -q "Linking CXX executable $program\$" <<<"$plan" || {
    echo "run_builds_programs: FAIL: $program is not built" >&2
    status=1
  }
done
exit "$status"
