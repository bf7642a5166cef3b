#!/usr/bin/env bash
# Installs what zorvel needs from Debian's packages (only what is missing),
# then configures and builds it in build/. Safe to run again: a second run
# installs nothing and rebuilds only what changed. Arguments go to the
# configure step (scripts/test.sh passes -DZORVEL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_build[@]}"

cmake --preset default "$@" >/dev/null
cmake --build --preset default
