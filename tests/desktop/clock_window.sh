#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clock on a real X server with a window manager: its caption, its place out of the taskbar,
# the place it was stored at, and its position saved when the window manager closes it or the
# program is told to terminate (SIGTERM, SIGHUP); moved, it opens again exactly where it was left
# and, closed unmoved, stores the same place again.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings
printf '[General]\nCLOCK-MAIN-Left=3000\nCLOCK-MAIN-Top=1507.5\n' >"$conf"
title='^VQ-DRUM-BEAT-DIAL - V3$'

"$program" 2>"$work/stderr" &
pid=$!
id=$(wait_for_window "$title") || fail "the clock window did not appear"
xprop -id "$id" _NET_WM_NAME | grep -q '"VQ-DRUM-BEAT-DIAL - V3"' || fail "wrong caption"
for _ in $(seq 1 40); do
    xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR && break
    sleep 0.05
done
xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the clock is in the taskbar"
wait_until_viewable "$id"
within 2 frame_at "$id" 200 101 || true
read -r fx fy < <(frame_origin "$id")
[ "$fx" -eq 200 ] && [ "$fy" -eq 101 ] || fail "frame at $fx,$fy instead of 200,101"

wmctrl -i -c "$id"
timeout_kill "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after closing"
[ "$(setting "$conf" CLOCK-MAIN-Left)" = 3000 ] || fail "Left $(setting "$conf" CLOCK-MAIN-Left) after closing unmoved"
[ "$(setting "$conf" CLOCK-MAIN-Top)" = 1507.5 ] || fail "Top $(setting "$conf" CLOCK-MAIN-Top) after closing unmoved"

# Moved, then terminated by a signal (SIGHUP: the terminal closed, or the session is ending): the new
# place is stored and the exit is clean.
for signal in TERM HUP; do
    printf '[General]\nCLOCK-MAIN-Left=3000\nCLOCK-MAIN-Top=1507.5\n' >"$conf"
    "$program" 2>>"$work/stderr" &
    pid=$!
    id=$(wait_for_window "$title") || fail "the clock window did not appear before SIG$signal"
    wait_until_viewable "$id"
    wmctrl -i -r "$id" -e 0,400,300,-1,-1
    for _ in $(seq 1 40); do
        read -r fx fy < <(frame_origin "$id")
        [ "$fx" -ne 200 ] && break
        sleep 0.05
    done
    wait_until_viewable "$id"
    read -r fx fy < <(frame_origin "$id")
    kill -"$signal" "$pid"
    timeout_kill "$pid"
    wait_for_exit "$pid"
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIG$signal"
    left=$(setting "$conf" CLOCK-MAIN-Left)
    top=$(setting "$conf" CLOCK-MAIN-Top)
    [ "$left" = $((fx * 15)) ] && [ "$top" = $((fy * 15)) ] || fail "stored $left,$top for a frame at $fx,$fy"
    [ "$fx" -ne 200 ] || fail "the window manager did not move the clock"

    "$program" 2>>"$work/stderr" &
    pid=$!
    id=$(wait_for_window "$title") || fail "the clock window did not appear again after SIG$signal"
    wait_until_viewable "$id"
    within 2 frame_at "$id" "$fx" "$fy" || true
    read -r rx ry < <(frame_origin "$id")
    echo "moved to $fx,$fy, stored $left,$top, opened again at $rx,$ry"
    [ "$rx" -eq "$fx" ] && [ "$ry" -eq "$fy" ] || fail "moved to $fx,$fy, the clock opened again at $rx,$ry"
    wmctrl -i -c "$id"
    timeout_kill "$pid"
    wait_for_exit "$pid"
    [ "$(setting "$conf" CLOCK-MAIN-Left),$(setting "$conf" CLOCK-MAIN-Top)" = "$left,$top" ] ||
        fail "closed unmoved, the clock stored $(setting "$conf" CLOCK-MAIN-Left),$(setting "$conf" CLOCK-MAIN-Top) instead of $left,$top"
done

# SIGINT ends it the same way.
"$program" 2>>"$work/stderr" &
pid=$!
wait_for_window "$title" >/dev/null || fail "the clock window did not appear before SIGINT"
kill -INT "$pid"
timeout_kill "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGINT"
echo "clock window: caption, skip-taskbar, placement and saving on close, SIGTERM, SIGHUP and SIGINT all correct"
