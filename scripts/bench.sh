#!/usr/bin/env bash
# Sets up and builds as the run command does, then runs the benchmark suite:
# every figure with its goal and pass or miss. Extra arguments name sections
# (startup memory waiting wakeups chatsend scrollback). Takes about five
# minutes, the scrollback section one or two more.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/bench/bench_suite "$@"
