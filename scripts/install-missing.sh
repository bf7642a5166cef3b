#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet, through
# apt-get (with sudo when not root); installs nothing when all are there.
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # Another install (a second script, unattended upgrades) may hold the
  # package lock: wait for it rather than fail.
  lock=(-o DPkg::Lock::Timeout=600)
  "${sudo[@]}" apt-get "${lock[@]}" update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${lock[@]}" install -y -qq "${missing[@]}" >/dev/null
fi
