#!/usr/bin/env bash
# scripts/run.sh as a new user starts it on a machine without a display and
# without XDG_RUNTIME_DIR: both load lines reach the room, nothing warns, the
# runtime folder is the user's own (mode 0700), and Ctrl-C sent to the script
# and then its group ends chathost, zorvel and the virtual screen.
#   run_headless.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
children=()
finish() {
  for pid in "${children[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/home" "$work/config" "$work/tmp"
out=$work/out.txt

# In a process group of its own, as a terminal's foreground job is (timeout
# makes one), which also ends it should this test be killed outright. Started
# in the background, a script would ignore Ctrl-C: not so a user's.
timeout -s INT 120 env --default-signal=INT \
  -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  HOME="$work/home" XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" \
  ZORVEL_RUN_BUILD="$build_dir" "$source_dir/scripts/run.sh" >"$out" 2>&1 &
group=$!
script=""
for _ in $(seq 1 50); do
  script=$(pgrep -P "$group" || true)
  [ -n "$script" ] && break
  sleep 0.1
done

fail() {
  echo "run_headless: FAIL: $*" >&2
  echo "--- what the run command printed:" >&2
  cat "$out" >&2
  exit 1
}
loaded() { grep -q ' zorvel -:- ' "$out" && grep -q ' id: ' "$out"; }
for _ in $(seq 1 300); do
  loaded && break
  kill -0 "$script" 2>/dev/null || fail "run.sh ended early"
  sleep 0.1
done
loaded || fail "the two load lines did not come within 30 s"
mapfile -t children < <(pgrep -P "$script")
((${#children[@]} >= 3)) || fail "expected Xvfb, chathost and zorvel, found ${#children[@]} processes"

runtime="$work/tmp/zorvel-runtime-$(id -u)"
[ "$(stat -c %a "$runtime" 2>/dev/null)" = 700 ] || fail "no runtime folder $runtime of mode 700"

# As timeout -s INT does it: to the script, then to its whole group, as a
# terminal's Ctrl-C; the second comes while the script ends the programs.
kill -INT "$script"
sleep 0.2
kill -INT -- "-$group" 2>/dev/null || true
for _ in $(seq 1 200); do kill -0 "$script" 2>/dev/null || break; sleep 0.1; done
kill -0 "$script" 2>/dev/null && fail "run.sh still runs 20 s after Ctrl-C"
for pid in "${children[@]}"; do
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "process $pid ($(ps -o comm= -p "$pid")) outlived run.sh"
done
if grep -Ei 'warn|QStandardPaths|XDG_RUNTIME_DIR|^qt\.' "$out"; then
  fail "the lines above are warnings"
fi
echo "run_headless: load lines shown, no warning, nothing left after Ctrl-C"
