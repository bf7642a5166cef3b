#!/usr/bin/env bash
# Sets up and builds the two programs, then starts the stand-in chat client
# (chathost, which echoes the room's lines here) and zorvel beside it. Without
# a display both run on a virtual screen. Ctrl-C ends both cleanly. Arguments
# go to chathost:
#   scripts/run.sh --irc ircs://irc.example.org/#channel --nick NICK
# puts chathost in that IRC channel, so zorvel's lines reach its people.
# ZORVEL_RUN_BUILD=FOLDER runs the programs of that build as they are (no set-up).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZORVEL_RUN_BUILD:-}
if [ -z "$build" ]; then
    build=build
    # Only what runs here; the test and bench commands build the rest.
    scripts/setup.sh --programs
fi

# chathost's socket lies in XDG_RUNTIME_DIR, one chathost per user. A session
# without one (su, ssh without systemd) gets a folder of this user's that is
# the same on every run, as Qt wants it: owned by the user, mode 0700.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/zorvel-runtime-$(id -u)"
    [ -d "$XDG_RUNTIME_DIR" ] || mkdir -m 0700 "$XDG_RUNTIME_DIR"
    if [ -L "$XDG_RUNTIME_DIR" ] || [ "$(stat -c %u "$XDG_RUNTIME_DIR")" != "$(id -u)" ]; then
        echo "run: $XDG_RUNTIME_DIR is not this user's own folder; set XDG_RUNTIME_DIR" >&2
        exit 1
    fi
    chmod 0700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

chathost_pid=""
zorvel_pid=""
xvfb_pid=""

stop() {
    # A second signal (Ctrl-C pressed twice, a signal sent to the script and
    # then to its group) must not end the script half way, leaving chathost
    # and the screen behind.
    trap '' INT TERM HUP
    # zorvel hears the end as its unload command: it says goodbye in the room.
    if [ -n "$zorvel_pid" ] && kill -0 "$zorvel_pid" 2>/dev/null; then
        kill -TERM "$zorvel_pid" 2>/dev/null || true
        for _ in $(seq 1 100); do kill -0 "$zorvel_pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$zorvel_pid" 2>/dev/null || true
    fi
    # Let the room print the last lines before it goes.
    sleep 0.3
    for pid in $chathost_pid $xvfb_pid; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    exit 0
}
trap stop INT TERM HUP

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    # In a session of its own, as the X server ends at Ctrl-C; should this
    # script be killed outright, a watcher of its own ends the server.
    setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    # shellcheck disable=SC2016 # expanded by that shell
    setsid sh -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done; kill "$2" 2>/dev/null' \
        watcher "$$" "$xvfb_pid" >/dev/null 2>&1 &
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo "run: no display here, so chathost and zorvel run on a virtual screen (Xvfb $DISPLAY); the room's lines appear below."
fi

# Both stay in this script's process group, so that whoever ends the group
# ends them too. Started in the background, they ignore Ctrl-C (zorvel hears
# it as its unload command): this script ends them in order, so the room
# still hears zorvel's closing lines.
"$build"/chathost/chathost --echo "$@" &
chathost_pid=$!
# zorvel speaks as soon as it loads: wait until the room answers.
for _ in $(seq 1 50); do
    "$build"/chathost/chathost --ping >/dev/null 2>&1 && break
    kill -0 "$chathost_pid" 2>/dev/null || break
    sleep 0.1
done

if ! kill -0 "$chathost_pid" 2>/dev/null; then
    echo "run: chathost ended at once (its message is above); zorvel not started" >&2
    if [ -n "$xvfb_pid" ]; then kill -TERM "$xvfb_pid" 2>/dev/null || true; fi
    exit 1
fi

"$build"/app/zorvel &
zorvel_pid=$!
wait "$zorvel_pid" || true
zorvel_pid=""
stop
