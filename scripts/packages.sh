# shellcheck shell=bash disable=SC2034
# The Debian packages the scripts install, in one place; each script sources
# this file and installs its groups with scripts/install-missing.sh. Name a
# package here even when a machine has it already: CI starts on a fresh one.

# Building and running zorvel and chathost (scripts/setup.sh, scripts/run.sh).
packages_build=(
  cmake ninja-build g++ pkgconf ccache
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins qt6-wayland libgl-dev libxcb1-dev
  libx11-dev libxext-dev libxss-dev
  fonts-liberation fontconfig
  xvfb xauth xdotool x11-utils dbus-daemon
)
# What only the tests use: a Wayland compositor with Xwayland, the package's
# builders and Debian's checkers.
packages_test=(weston xwayland dpkg-dev file binutils lintian desktop-file-utils appstream)
# The IRC tests' observer client, openssl for their certificates and the
# libraries of ngircd, which scripts/setup-irc.sh unpacks without installing.
packages_irc=(weechat-headless openssl libident libgnutls30 libpam0g zlib1g)
# The checks of formatting and of the scripts (scripts/check-style.sh).
packages_style=(clang-format shellcheck)
# The Windows build and its tests under Wine (scripts/test-windows.sh).
packages_windows=(cmake ninja-build ccache qt6-base-dev g++-mingw-w64-x86-64-posix wine64 xvfb xauth)
# The suite under the sanitizers (scripts/sanitize.sh): built by clang 14 with
# its sanitizer runtimes; llvm gives the reports' stacks their names.
packages_sanitize=(cmake ninja-build ccache clang-14 libclang-rt-14-dev llvm qt6-base-dev qt6-multimedia-dev
  libgl-dev)
# The fuzz targets, built with clang (scripts/fuzz.sh).
packages_fuzz=(cmake ninja-build ccache clang-14 libclang-rt-14-dev qt6-base-dev qt6-multimedia-dev libgl-dev)
# The Debian package (scripts/package.sh).
packages_package=(dpkg-dev file)
