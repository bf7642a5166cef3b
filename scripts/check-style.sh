#!/usr/bin/env bash
# The checks of the test command that build nothing: every tracked C++ file
# formatted as the committed .clang-format says, and every script clean
# under the shell script checker. Fix formatting with: clang-format -i <file>
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_style[@]}"

status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}" || status=1
echo "check-style: clang-format over ${#sources[@]} files"

mapfile -t scripts < <(git ls-files 'scripts/*.sh' '.ci/*' 'cmake/*.sh' 'tests/*.sh')
shellcheck -x "${scripts[@]}" || status=1
echo "check-style: shellcheck over ${#scripts[@]} scripts"
exit "$status"
