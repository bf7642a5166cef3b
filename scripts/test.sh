#!/usr/bin/env bash
# Sets up and builds as the run command does, then runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
ctest --output-on-failure --timeout 600 "$@"
