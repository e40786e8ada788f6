#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) with the openbox window manager, then stops both.
# Usage: scripts/with-desktop.sh COMMAND [ARG...]
set -euo pipefail

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$fd_file"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
done
[ -s "$fd_file" ] || { echo "with-desktop: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
unset WAYLAND_DISPLAY

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# The window manager is ready once it has claimed the root window's supporting-WM hint.
for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done

set +e
"$@"
status=$?
set -e
exit "$status"
