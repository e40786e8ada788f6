#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One alarm set up through the real windows, as a user would: open the settings window from the
# clock, then the alarm settings window; tick the master switch and row 3, type the name Tea and a
# time a few seconds ahead, tick Display Message and Run Command, type a command line and press OK.
# Then alarms are switched off with Enable Alarms and OK, and on again in a later opening: the row
# keeps every tick and text throughout. At its time the command runs once and the window "... - Tea"
# opens.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings
ran=$work/ran.txt

# Clicks at a place given in twips, as the windows are designed, inside a window's client area.
click_at() {
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
}

# Replaces the text of the box at a place in twips.
type_into() {
    await_focus "$1"
    click_at "$1" "$2" "$3"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$4"
}

"$program" 2>"$work/stderr" &
pid=$!
( exec >/dev/null 2>&1; sleep 90; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
wait_until_viewable "$clock"

# Opens the alarm settings window from the settings window: sets alarms.
open_alarm_settings() {
    click_at "$settings" 4980 1260 # "Alarm Settings"
    alarms=$(wait_for_window '^VQ-DBD - V3 - ALARM SETTINGS$') || fail "the alarm settings window did not open"
}

# Presses OK in the alarm settings window and waits for it to close.
press_ok() {
    click_at "$alarms" 10440 7560
    for _ in $(seq 1 200); do
        xdotool search --name '^VQ-DBD - V3 - ALARM SETTINGS$' >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    xwininfo -root -tree | grep -E 'VQ|xlogo' >&2 || true
    cat "$conf" >&2 || true
    fail "OK did not close the alarm settings window"
}

# Fails unless the program's wake-up timer (a CLOCK_REALTIME_ALARM timerfd) is set for ten seconds
# before the alarm due at the given second since the epoch, give or take one, or is disarmed
# ("off"). Setting one needs CAP_WAKE_ALARM, which root has (as in CI); without it there is no such
# timer to look at.
expect_wake_timer() {
    local info left= flags=
    for info in /proc/"$pid"/fdinfo/*; do
        if grep -qx 'clockid: 8' "$info" 2>/dev/null; then
            left=$(sed -n 's/^it_value: (\(.*\)).*/\1/p' "$info")
            flags=$(sed -n 's/^settime flags: //p' "$info")
        fi
    done
    if [ -z "$left" ]; then
        [ "$(id -u)" -ne 0 ] && return 0
        fail "no wake-up timer ($step)"
    fi
    # A disarmed alarm timer keeps showing its last time; it was disarmed without TFD_TIMER_ABSTIME.
    if [ "$1" = off ]; then
        [ "$flags" = 00 ] || fail "the wake-up timer is set ($left, flags $flags) $step"
        return 0
    fi
    [ "$flags" = 01 ] || fail "the wake-up timer is not set (flags $flags) $step"
    left=${left%%,*}
    local expected=$(($1 - 10 - $(date +%s)))
    [ $((expected - left)) -ge -1 ] && [ $((expected - left)) -le 1 ] ||
        fail "the wake-up timer is at $left s, not $expected s ($step)"
}

# The timer is looked at with each second the clock shows, so it is read again until it holds.
wake_timer_holds() {
    (expect_wake_timer "$1") 2>/dev/null
}
wait_for_wake_timer() {
    within 2 wake_timer_holds "$1" || expect_wake_timer "$1"
}

# Fails unless each key holds the value: "KEY=value ...".
expect_stored() {
    local entry
    for entry in "$@"; do
        [ "$(setting "$conf" "${entry%%=*}")" = "${entry#*=}" ] ||
            fail "${entry%%=*} stored as '$(setting "$conf" "${entry%%=*}")', not '${entry#*=}' ($step)"
    done
}

click_at "$clock" 480 420 # the maker button
settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the maker button did not open the settings window"
wait_until_viewable "$settings"
open_alarm_settings
# Each window carries the drum icon in both its sizes, not the window manager's stand-in.
for window in "$clock" "$settings" "$alarms"; do
    icon=$(xprop -id "$window" _NET_WM_ICON)
    grep -q 'Icon (16 x 16)' <<<"$icon" && grep -q 'Icon (24 x 24)' <<<"$icon" ||
        fail "window $window carries no 16 and 24 pixel icon: $(head -c 80 <<<"$icon")"
done
xprop -id "$alarms" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$settings")" ||
    fail "the alarm settings window is not owned by the settings window"
wait_until_viewable "$alarms"

row=2640 # row 3 lies two rows of 1320 twips below row 1
click_at "$alarms" 5640 240 # ENABLE_ALARMS_TICKBOX
click_at "$alarms" 360 $((1020 + row)) # ALARM_3_TICKBOX
type_into "$alarms" 1500 $((980 + row)) "Tea" # ALARM_3_NAME_TEXTBOX
due=$(date -d "@$(($(date +%s) + 30))" +%X)
type_into "$alarms" 2880 $((980 + row)) "$due" # ALARM_3_TIME_TEXTBOX
click_at "$alarms" 3600 $((720 + row)) # ALARM_3_DISPLAY_MESSAGE_TICKBOX
click_at "$alarms" 840 $((1320 + row)) # ALARM_3_RUN_COMMAND_TICKBOX
type_into "$alarms" 3600 $((1580 + row)) "sh -c 'echo ran >> $ran'" # ALARM_3_RUN_COMMAND_TEXTBOX
press_ok
row3=(ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1
    ALARM_3_NAME_TEXTBOX=Tea "ALARM_3_TIME_TEXTBOX=$due")
step="after OK"
expect_stored ENABLE_ALARMS_TICKBOX=1 "${row3[@]}"
# The computer wakes ten seconds ahead of the alarm.
wait_for_wake_timer "$(date -d "$due" +%s)"

# Alarms off for a while: the row stays as it was set.
open_alarm_settings
wait_until_viewable "$alarms"
click_at "$alarms" 5640 240 # ENABLE_ALARMS_TICKBOX
press_ok
step="after Enable Alarms was cleared and OK pressed"
expect_stored ENABLE_ALARMS_TICKBOX=0 "${row3[@]}"
wait_for_wake_timer off
open_alarm_settings
wait_until_viewable "$alarms"
click_at "$alarms" 5640 240
press_ok
step="after Enable Alarms was ticked again in a later window"
expect_stored ENABLE_ALARMS_TICKBOX=1 "${row3[@]}"
wait_for_wake_timer "$(date -d "$due" +%s)"
[ "$(date +%s)" -lt "$(date -d "$due" +%s)" ] || fail "the setting-up took past $due"
[ -e "$ran" ] && fail "the command ran before $due"

title='VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Tea'
for _ in $(seq 1 400); do
    id=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.05
done
[ -n "$id" ] || fail "no window \"$title\" by $due (now $(date +%X))"
echo "the window \"$title\" opened at $(date +%X.%N | cut -c1-12) for $due"
xprop -id "$id" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$clock")" || fail "the notification is not owned by the clock"
ran_once() {
    [ "$(wc -l <"$ran" 2>/dev/null || echo 0)" -eq 1 ]
}
within 1 ran_once && throughout 1.5 ran_once || fail "the command ran $(wc -l <"$ran" 2>/dev/null || echo 0) times"

kill -TERM "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
echo "one alarm set up through the windows fired at $due: command once, window \"$title\""
