#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private X server (Xvfb) with the openbox window manager, then stops both.
# Usage: scripts/with-desktop.sh COMMAND [ARG...]
# XVFB_SCREENS names the screens' sizes, default "1280x1024x24"; several ("800x600x24 640x480x24")
# make one desktop of monitors side by side, left to right, tops aligned (RandR monitors on one
# X screen: Xvfb's own screens cannot be placed side by side).
set -euo pipefail

read -r -a sizes <<<"${XVFB_SCREENS:-1280x1024x24}"
desktop_width=0
desktop_height=0
for size in "${sizes[@]}"; do
    IFS=x read -r width height _ <<<"$size"
    desktop_width=$((desktop_width + width))
    [ "$height" -gt "$desktop_height" ] && desktop_height=$height
done
depth=${sizes[0]##*x}

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${desktop_width}x${desktop_height}x${depth}" -nolisten tcp 3>"$fd_file" 2>/dev/null &
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

if [ "${#sizes[@]}" -gt 1 ]; then
    left=0
    for i in "${!sizes[@]}"; do
        IFS=x read -r width height _ <<<"${sizes[$i]}"
        xrandr --setmonitor "S$i" "$width/$((width / 4))x$height/$((height / 4))+$left+0" none
        left=$((left + width))
    done
    # The output's own monitor spans the whole desktop; without the output only the parts remain.
    xrandr --output screen --off 2>/dev/null || true
fi

set +e
"$@"
status=$?
set -e
exit "$status"
