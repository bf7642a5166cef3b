#!/usr/bin/env bash
# Installs the built package into this machine with apt, runs the installed
# zorvel beside the installed chathost on a private Xvfb (the two load lines
# reach the room, a click on the menu button plays the program's own sound,
# the closing lines follow; neither program names the build folder), then purges the package and checks that nothing it
# installed is left. The machine is left as it was found, whatever fails:
# the package and anything its installation brought are purged on every exit.
#   install_package.sh PACKAGES_DIR VERSION BUILD_DIR
# Exit status 77 (a skip) where it must not install: not root, no sudo
# without a password, zorvel already installed here, or an install that would
# upgrade other packages.
# shellcheck disable=SC2317  # the functions run from traps and waituntil
set -euo pipefail
dir=$(cd "$1" && pwd)
version=$2
build_dir=$3
skip() { echo "install_package: SKIPPED: $*"; exit 77; }
# Whether dpkg has zorvel on the machine in any state but gone.
present() {
  case $(dpkg-query -W -f='${db:Status-Status}' zorvel 2>/dev/null) in
    "" | not-installed) return 1 ;;
    *) return 0 ;;
  esac
}

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || skip "installing a package into this machine needs root or sudo without a password"
  sudo=(sudo -n)
fi
debs=("$dir"/zorvel_"$version"_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "install_package: no zorvel_${version}_*.deb in $dir"; exit 1; }
for tool in apt-get Xvfb xdotool strings; do
  command -v "$tool" >/dev/null || { echo "install_package: $tool is needed: scripts/setup.sh installs it"; exit 1; }
done

apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -q)

# One run at a time on a machine. A run killed outright (no trap runs then)
# leaves its mark: the next run purges what that one installed.
exec 9>/tmp/zorvel-package-test.lock
flock -w 300 9 || { echo "install_package: another run holds /tmp/zorvel-package-test.lock"; exit 1; }
mark=/var/tmp/zorvel-package-test.installed
if [ -e "$mark" ] && present; then
  echo "install_package: purging the zorvel that an interrupted run installed"
  # That run may have been cut off inside dpkg: finish dpkg's work first.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
  "${apt[@]}" purge zorvel >/dev/null
fi
"${sudo[@]}" rm -f "$mark"
if present; then
  skip "zorvel is installed on this machine already; this test would replace it (apt-get purge zorvel first)"
fi
tmp=$(mktemp -d)
# What apt would install for it: the package and any library missing here.
# Those are purged again at the end; an upgrade could not be undone.
"${apt[@]}" -s install --no-install-recommends "$deb" >"$tmp/plan"
upgrades=$(grep '^Inst [^ ]* \[' "$tmp/plan" | cut -d' ' -f2 | xargs || true)
if [ -n "$upgrades" ]; then
  rm -rf "$tmp"
  skip "installing it would upgrade packages here ($upgrades), which a purge cannot undo"
fi
awk '$1 == "Inst" && $2 != "zorvel" { print $2 }' "$tmp/plan" >"$tmp/added"
pids=()
failed=0
fail() { echo "install_package: FAILED: $*"; failed=1; }

cleanup() {
  local status=$?
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  # The package, and whatever apt installed for it that was not here before.
  if present; then
    "${apt[@]}" purge zorvel >/dev/null || true
  fi
  present || "${sudo[@]}" rm -f "$mark"
  local added
  added=$(xargs <"$tmp/added")
  if [ -n "$added" ]; then
    # shellcheck disable=SC2086
    "${apt[@]}" purge $added >/dev/null || true
  fi
  rm -rf "$tmp"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

echo "--- apt-get install $deb"
"${sudo[@]}" touch "$mark"
"${apt[@]}" install --no-install-recommends "$deb"
[ "$(dpkg-query -W -f='${Status} ${Version}' zorvel)" = "install ok installed $version" ] ||
  fail "dpkg does not say zorvel $version is installed"
dpkg -L zorvel >"$tmp/installed"
while read -r path; do
  [ -e "$path" ] || fail "listed but not installed: $path"
done <"$tmp/installed"
[ "$(/usr/bin/zorvel --version)" = "zorvel $version" ] || fail "/usr/bin/zorvel --version"
[ "$(/usr/bin/chathost --version)" = "chathost $version" ] || fail "/usr/bin/chathost --version"

echo "--- the installed programs under Xvfb"
mkdir -p "$tmp/config" "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime HOME=$tmp/home
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
n=170
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:$n
waituntil() { # seconds, then a command; true once the command is
  local tries=$(($1 * 10))
  shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
records() { [ -f "$tmp/transcript" ] && [ "$(wc -l <"$tmp/transcript")" -ge "$1" ]; }
waituntil 10 test -e "/tmp/.X11-unix/X$n" || fail "Xvfb did not start"

/usr/bin/chathost --transcript "$tmp/transcript" >"$tmp/chathost.out" 2>&1 &
pids+=($!)
waituntil 20 /usr/bin/chathost --ping >/dev/null || fail "the installed chathost does not answer"
/usr/bin/zorvel >"$tmp/zorvel.out" 2>&1 &
zorvel=$!
pids+=("$zorvel")
if waituntil 20 records 2; then
  echo "the room heard:"
  cut -f2- "$tmp/transcript" | iconv -f WINDOWS-1252 -t UTF-8
  [ "$(cut -f2 "$tmp/transcript" | sort -u)" = "Lobby" ] || fail "the lines went elsewhere than the room"
else
  fail "the two load lines did not reach the room"
fi

# The menu button's click: the sound is in the program, so a click must play
# it without a word from Qt Multimedia, and the program must name no folder
# of the build it was made in.
xdotool mousemove 462 240 click 1
sleep 1
if grep -i "sound\|wav\|multimedia" "$tmp/zorvel.out"; then
  fail "the click sound did not play cleanly"
fi
# Qt keeps a string literal as UTF-16, so both encodings are searched.
for program in /usr/bin/zorvel /usr/bin/chathost; do
  if { strings -a "$program" && strings -a -e l "$program"; } | grep -F "$build_dir"; then
    fail "$program names the build folder $build_dir"
  fi
done

kill -TERM "$zorvel"
waituntil 15 records 4 || fail "zorvel's closing lines did not reach the room"
cat "$tmp/zorvel.out"

echo "--- apt-get purge zorvel"
for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
pids=()
"${apt[@]}" purge zorvel
if present; then
  fail "dpkg still has zorvel"
fi
while read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # A folder stays only where another package owns it too.
    dpkg -S "$path" >/dev/null 2>&1 || fail "folder left behind: $path"
  elif [ -e "$path" ] || [ -L "$path" ]; then
    fail "left behind: $path"
  fi
done <"$tmp/installed"
for f in /usr/bin/zorvel /usr/bin/chathost; do [ ! -e "$f" ] || fail "$f is still there"; done
if [ -s "$tmp/added" ]; then
  # shellcheck disable=SC2046
  "${apt[@]}" purge $(xargs <"$tmp/added")
fi
while read -r package; do
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ] ||
    fail "$package, installed for zorvel, is still there"
done <"$tmp/added"

[ "$failed" -eq 0 ] && echo "install_package: installed, ran and purged cleanly"
exit "$failed"
