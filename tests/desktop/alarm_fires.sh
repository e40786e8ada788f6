#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An alarm stored a few seconds ahead fires once on a real X server: its command writes a file once,
# its notification window comes up over the clock with the alarm's title, counts down, closes itself
# about 11 s later, and the store then holds the window's place and its auto-close choice. A second
# alarm of the same second runs a hidden command that fails: the notices window and standard error
# say so in one line, with its exit status and last error line.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings
fired=$work/fired.txt

due=$(date -d "@$(($(date +%s) + 5))" +%X)
cat >"$conf" <<CONF
[General]
AlwaysOnTop_TICKBOX=0
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Desk test
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=1
ALARM_1_RUN_COMMAND_TICKBOX=1
RUN_HIDDEN_1_TICKBOX=1
ALARM_1_RUN_COMMAND_TEXTBOX="sh -c 'echo fired >> $fired'"
ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX=1
ALARM_2_TICKBOX=1
ALARM_2_NAME_TEXTBOX=Backup
ALARM_2_TIME_TEXTBOX=$due
ALARM_2_RUN_COMMAND_TICKBOX=1
RUN_HIDDEN_2_TICKBOX=1
ALARM_2_RUN_COMMAND_TEXTBOX="sh -c 'echo disk not found >&2; exit 3'"
CONF

"$program" 2>"$work/stderr" &
pid=$!
# The whole run takes about 20 s; a program still running after 60 s has hung.
( exec >/dev/null 2>&1; sleep 60; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
title='VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Desk test'
id=$(wait_for_window "^$title\$") || fail "no notification window by $due"
opened=$(date +%s.%N)
xprop -id "$id" _NET_WM_NAME | grep -qF "\"$title\"" || fail "wrong title: $(xprop -id "$id" _NET_WM_NAME)"
xprop -id "$id" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$clock")" || fail "the window is not owned by the clock"
xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "the window is not modal"
for _ in $(seq 1 60); do
    [ -s "$fired" ] && break
    sleep 0.05
done
[ "$(wc -l <"$fired")" -eq 1 ] || fail "the command ran $(wc -l <"$fired" 2>/dev/null || echo 0) times"
wait_for_window '^VQ-DBD - V3 - NOTICES$' >/dev/null || fail "no notice window for the command that failed"
failed="vq-dbd: alarm 2 (\"Backup\", fired [A-Z][a-z][a-z] [0-9]* [A-Z][a-z][a-z] $due): the command line \"sh -c 'echo disk not found >&2; exit 3'\" ended with exit status 3; its last error line: disk not found"
[ "$(grep -cx "$failed" "$work/stderr")" -eq 1 ] || fail "the failed command not said once: $(cat "$work/stderr")"

# Moved by the user while it counts down.
wait_until_viewable "$id"
read -r startx _ < <(frame_origin "$id")
wmctrl -i -r "$id" -e 0,300,200,-1,-1
for _ in $(seq 1 40); do
    read -r fx fy < <(frame_origin "$id")
    [ "$fx" -ne "$startx" ] && break
    sleep 0.05
done
[ "$fx" -ne "$startx" ] || fail "the window manager did not move the window from $startx"
wait_until_viewable "$id"
read -r fx fy < <(frame_origin "$id")

for _ in $(seq 1 400); do
    xdotool search --name "^$title\$" >/dev/null 2>&1 || break
    sleep 0.05
done
closed=$(date +%s.%N)
xdotool search --name "^$title\$" >/dev/null 2>&1 && fail "the window did not close itself"
lasted=$(awk "BEGIN { printf \"%.1f\", $closed - $opened }")
echo "the notification window closed itself after $lasted s"
awk "BEGIN { exit !($lasted > 9.5 && $lasted < 12.5) }" || fail "closed after $lasted s, not about 11 s"

ran_once() {
    [ "$(wc -l <"$fired")" -eq 1 ]
}
throughout 1.2 ran_once || fail "the command ran $(wc -l <"$fired") times"
[ "$(setting "$conf" ALARM_1-NOTIFICATION-MESSAGE-Left)" = $((fx * 15)) ] ||
    fail "Left $(setting "$conf" ALARM_1-NOTIFICATION-MESSAGE-Left) for a frame at $fx"
[ "$(setting "$conf" ALARM_1-NOTIFICATION-MESSAGE-Top)" = $((fy * 15)) ] ||
    fail "Top $(setting "$conf" ALARM_1-NOTIFICATION-MESSAGE-Top) for a frame at $fy"
[ "$(setting "$conf" ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX)" = 1 ] || fail "auto-close not stored as 1"

kill -TERM "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
if grep -q 'not started' "$work/stderr"; then fail "$(cat "$work/stderr")"; fi
echo "alarm fired once at $due: command once, window titled, owned, modal, closed by its countdown, place stored"
