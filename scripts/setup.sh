#!/usr/bin/env bash
# Installs what zorvel needs from Debian's packages (only what is missing),
# then configures and builds it in build/. Safe to run again: a second run
# installs nothing and rebuilds only what changed.
#   scripts/setup.sh               everything: the programs, tests and benchmarks
#   scripts/setup.sh --tests       the programs and the tests (scripts/test.sh)
#   scripts/setup.sh --programs    zorvel and chathost only (scripts/run.sh)
# Further arguments go to the configure step (scripts/test.sh passes
# -DZORVEL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(--target all bench_programs)
case "${1:-}" in
  --programs) targets=(--target zorvel chathost) && shift ;;
  --tests) targets=() && shift ;;
esac

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_build[@]}"

cmake --preset default "$@" >/dev/null
cmake --build --preset default "${targets[@]}"
