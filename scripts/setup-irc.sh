#!/usr/bin/env bash
# What the IRC tests need: the observer client weechat-headless, openssl for
# the test's own certificates, and Debian's IRC server ngircd. ngircd is not
# installed: its package is unpacked into build/ngircd (dpkg-deb -x), so no
# system service is set up or started; the tests run it in the foreground
# with a configuration of their own. Its libraries are installed as usual.
#   scripts/setup-irc.sh [FOLDER]    unpack into FOLDER (default build/ngircd)
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-build/ngircd}

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
scripts/install-missing.sh "${packages_irc[@]}"

if [ -x "$target/usr/sbin/ngircd" ]; then
  exit 0
fi
download=$(mktemp -d)
trap 'rm -rf "$download"' EXIT
# apt-get download needs the package lists; a fresh machine may have none.
if ! (cd "$download" && apt-get download -qq ngircd 2>/dev/null); then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
  (cd "$download" && apt-get download -qq ngircd)
fi
mkdir -p "$target"
dpkg-deb -x "$download"/ngircd_*.deb "$target"
"$target/usr/sbin/ngircd" --version | head -1
