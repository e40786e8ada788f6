#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# In a Wayland session the clock comes up through the session's X server (XWayland; here the test's
# Xvfb stands in for it, and the Wayland display named does not exist) and keeps itself above there.
set -euo pipefail
source "$(dirname "$0")/../desktop/lib.sh"
program=$1
work=${TEST_WORK:?}
rm -rf "$work"
mkdir -p "$work/config"
export XDG_CONFIG_HOME=$work/config
unset QT_QPA_PLATFORM

XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=vqdbd-test-no-compositor "$program" 2>"$work/stderr" &
pid=$!
id=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear on the X server"
for _ in $(seq 1 60); do
    xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && break
    sleep 0.05
done
xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the clock is not kept above"
kill -TERM "$pid"
timeout_kill "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
echo "Wayland session: the clock runs through the X server and stays above"
