#!/usr/bin/env bash
# Sets up and builds as the run command does, then runs the benchmark suite:
# every figure with its goal and pass or miss. Extra arguments name sections
# (startup memory waiting wakeups chatsend scrollback ircflood). Takes about
# five minutes, the scrollback section one or two more; ircflood needs
# ngircd (scripts/setup-irc.sh, run here).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/setup-irc.sh
exec build/bench/bench_suite "$@"
