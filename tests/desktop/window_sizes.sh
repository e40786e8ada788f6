#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every window's outer size on the real window manager (client area plus the frame the manager
# draws) equals its stored Width and Height, or its designed size when none is stored: the clock, a
# notification window, the settings window (stored at a size of its own), the colours window, the
# alarm settings window and the test notification window.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings

due=$(date -d "@$(($(date +%s) + 4))" +%X)
cat >"$conf" <<CONF
[General]
AlwaysOnTop_TICKBOX=0
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Sizes
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=1
MAIN-SETTINGS-Width=9000
MAIN-SETTINGS-Height=2400
CONF

# The outer size in pixels: "width height".
outer_size() {
    local id=$1 width height left right top bottom
    width=$(xwininfo -id "$id" | sed -n 's/^ *Width: *//p')
    height=$(xwininfo -id "$id" | sed -n 's/^ *Height: *//p')
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((width + left + right)) $((height + top + bottom))"
}

# Compares a window's outer size with the expected one in twips.
check_size() {
    local name=$1 id=$2 twips_width=$3 twips_height=$4 width height
    read -r width height < <(outer_size "$id")
    echo "$name: outer ${width}x${height}, expected $((twips_width / 15))x$((twips_height / 15))"
    [ "$width" -eq $((twips_width / 15)) ] && [ "$height" -eq $((twips_height / 15)) ] ||
        failures+=("$name is ${width}x${height} instead of $((twips_width / 15))x$((twips_height / 15))")
}

click_at() {
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
}

failures=()
"$program" 2>"$work/stderr" &
pid=$!
( exec >/dev/null 2>&1; sleep 60; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
wait_until_viewable "$clock"
check_size clock "$clock" 3585 1230

notification=$(wait_for_window '^VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Sizes$') ||
    fail "no notification window by $due"
wait_until_viewable "$notification"
check_size notification "$notification" 8745 3420
wmctrl -i -c "$notification"
for _ in $(seq 1 100); do
    xwininfo -id "$notification" >/dev/null 2>&1 || break
    sleep 0.05
done

click_at "$clock" 480 420 # the maker button
settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the settings window did not open"
wait_until_viewable "$settings"
check_size settings "$settings" 9000 2400

click_at "$settings" 1087 1267 # "Clock Colors"
colours=$(wait_for_window '^VQ-DBD - V3 - SET CLOCK COLORS$') || fail "the colours window did not open"
wait_until_viewable "$colours"
check_size colours "$colours" 9240 3570
wmctrl -i -c "$colours"
sleep 0.5

click_at "$settings" 4987 1267 # "Alarm Settings"
alarms=$(wait_for_window '^VQ-DBD - V3 - ALARM SETTINGS$') || fail "the alarm settings window did not open"
wait_until_viewable "$alarms"
check_size "alarm settings" "$alarms" 13680 8355

click_at "$alarms" 3667 7567 # "Test Alarm Notification Window"
test_window=$(wait_for_window 'ALARM TEST NOTIFICATION') || fail "the test notification window did not open"
wait_until_viewable "$test_window"
check_size "test notification" "$test_window" 8745 3420

kill -TERM "$pid"
wait_for_exit "$pid"
[ "${#failures[@]}" -eq 0 ] || fail "$(printf '%s; ' "${failures[@]}")"
echo "every window's outer size is its stored or designed size"
