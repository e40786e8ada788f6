#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# With no DISPLAY in its environment, the clock opens on the X server that Qt's -display option
# names; its window class is the one the menu entry names, also for a copy under another name.
set -euo pipefail
source "$(dirname "$0")/../desktop/lib.sh"
program=$1
fresh_settings
display=$DISPLAY
desktop_file=$(dirname "$0")/../../dist/net.vela_quill.vq_dbd.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_file")
[ -n "$wm_class" ] || fail "the menu entry names no window class"
cp "$program" "$work/deskclock2"

for started in "$program" "$work/deskclock2"; do
    env -u DISPLAY -u QT_QPA_PLATFORM "$started" -display "$display" 2>"$work/stderr" &
    pid=$!
    id=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "$started -display $display: no clock window"
    class=$(xprop -id "$id" WM_CLASS)
    [ "$class" = "WM_CLASS(STRING) = \"$(basename "$started")\", \"$wm_class\"" ] \
        || fail "$started: $class, the menu entry names $wm_class"
    kill -TERM "$pid"
    timeout_kill "$pid"
    wait_for_exit "$pid"
    [ "$EXIT_STATUS" -eq 0 ] || fail "$started: exit status $EXIT_STATUS after SIGTERM"
    for _ in $(seq 1 100); do
        [ -z "$(xdotool search --name '^VQ-DRUM-BEAT-DIAL - V3$' 2>/dev/null)" ] && break
        sleep 0.05
    done
done
echo "-display opens the clock there, of the menu entry's window class $wm_class"
