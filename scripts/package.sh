#!/usr/bin/env bash
# Builds the Debian package build/packages/zorvel_VERSION_ARCH.deb with CPack
# from the build that the run command makes (build/): both programs under
# /usr/bin, the click sound, the desktop entry and its icon, the AppStream
# metadata, the manual pages, the copyright and the changelog; its Depends
# come from the libraries the programs link (dpkg-shlibdeps).
#   scripts/package.sh                   build it
#   scripts/test.sh -L package           build it, check it with lintian,
#                                        desktop-file-validate and appstreamcli,
#                                        install it, run it and purge it
#   sudo apt-get install ./build/packages/zorvel_*.deb   install it
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_package[@]}"
cpack -G DEB --config build/CPackConfig.cmake -B build/packages >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
ls "$PWD"/build/packages/zorvel_"$version"_*.deb
