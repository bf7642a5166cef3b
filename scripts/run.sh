#!/usr/bin/env bash
# Sets up and builds, then starts the stand-in chat client (chathost, which
# echoes the room's lines here) and zorvel beside it. Without a display both
# run on a virtual screen. Ctrl-C ends both cleanly. Arguments go to chathost:
#   scripts/run.sh --irc ircs://irc.example.org/#channel --nick NICK
# puts chathost in that IRC channel, so zorvel's lines reach its people.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

chathost_pid=""
zorvel_pid=""
xvfb_pid=""

stop() {
    trap - INT TERM
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
trap stop INT TERM

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo "run: no display here, so chathost and zorvel run on a virtual screen (Xvfb $DISPLAY); the room's lines appear below."
fi

# Each runs in a session of its own: Ctrl-C reaches this script alone, which
# ends them in order, so the room still hears zorvel's closing lines.
setsid build/chathost/chathost --echo "$@" &
chathost_pid=$!
# zorvel speaks as soon as it loads: wait until the room answers.
for _ in $(seq 1 50); do
    build/chathost/chathost --ping >/dev/null 2>&1 && break
    kill -0 "$chathost_pid" 2>/dev/null || break
    sleep 0.1
done

if ! kill -0 "$chathost_pid" 2>/dev/null; then
    echo "run: chathost ended at once (its message is above); zorvel not started" >&2
    if [ -n "$xvfb_pid" ]; then kill -TERM "$xvfb_pid" 2>/dev/null || true; fi
    exit 1
fi

setsid build/app/zorvel &
zorvel_pid=$!
wait "$zorvel_pid" || true
zorvel_pid=""
stop
