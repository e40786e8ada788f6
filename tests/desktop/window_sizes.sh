#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every window's client area on the real window manager is the area its design gives it: the stored
# Width and Height (or the designed outer size when none is stored) less the frame the design was
# drawn for, whatever frame the window manager draws round it, so that its lowest control stands
# whole inside it: the clock, a notification window, the settings window (stored at a size of its
# own), the colours window, the alarm settings window and the test notification window. The clock
# and the settings and colours windows are kept out of the taskbar.
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

# Compares a window's client area with its stored outer size (twips) less the designed frame (90 wide;
# 375 high round a fixed window, 315 round the clock's tool window), and with the bottom of its lowest
# control (twips).
check_size() {
    local name=$1 id=$2 outer_width=$3 outer_height=$4 frame_height=$5 lowest=$6 width height
    local want_width=$(((outer_width - 90 + 7) / 15)) want_height=$(((outer_height - frame_height + 7) / 15))
    read -r width height < <(client_size "$id")
    echo "$name: client ${width}x${height} inside frame $(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //'), designed ${want_width}x${want_height}, lowest control ends at $(((lowest + 14) / 15))"
    [ "$width" -eq "$want_width" ] && [ "$height" -eq "$want_height" ] ||
        failures+=("$name's client area is ${width}x${height} instead of ${want_width}x${want_height}")
    [ "$height" -ge $(((lowest + 14) / 15)) ] || failures+=("$name's lowest control is cut off")
}

# The window carries the state that keeps it out of the taskbar.
check_out_of_taskbar() {
    xprop -id "$2" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || failures+=("$1 is in the taskbar")
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
check_size clock "$clock" 3585 1230 315 795 # the time display
check_out_of_taskbar clock "$clock"

notification=$(wait_for_window '^VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Sizes$') ||
    fail "no notification window by $due"
wait_until_viewable "$notification"
check_size notification "$notification" 8745 3420 375 2895 # RUN NOW, STOP and OK
wmctrl -i -c "$notification"
for _ in $(seq 1 100); do
    xwininfo -id "$notification" >/dev/null 2>&1 || break
    sleep 0.05
done

click_at "$clock" 480 420 # the maker button
settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the settings window did not open"
wait_until_viewable "$settings"
check_size settings "$settings" 9000 2400 375 1575 # its buttons
check_out_of_taskbar settings "$settings"

click_at "$settings" 1087 1267 # "Clock Colors"
colours=$(wait_for_window '^VQ-DBD - V3 - SET CLOCK COLORS$') || fail "the colours window did not open"
wait_until_viewable "$colours"
check_size colours "$colours" 9240 3570 375 3015 # OK
check_out_of_taskbar colours "$colours"
wmctrl -i -c "$colours"
within 3 not_viewable "$colours" || fail "the colours window did not close"

click_at "$settings" 4987 1267 # "Alarm Settings"
alarms=$(wait_for_window '^VQ-DBD - V3 - ALARM SETTINGS$') || fail "the alarm settings window did not open"
wait_until_viewable "$alarms"
check_size "alarm settings" "$alarms" 13680 8355 375 7815 # OK

click_at "$alarms" 3667 7567 # "Test Alarm Notification Window"
test_window=$(wait_for_window 'ALARM TEST NOTIFICATION') || fail "the test notification window did not open"
wait_until_viewable "$test_window"
check_size "test notification" "$test_window" 8745 3420 375 2895

kill -TERM "$pid"
wait_for_exit "$pid"
[ "${#failures[@]}" -eq 0 ] || fail "$(printf '%s; ' "${failures[@]}")"
echo "every window's client area is its designed area, its controls whole"
