#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Problems reach the user in one notice window of the program's own that takes input over a modal
# window and outlives it. An alarm whose command cannot start tells so just before its modal
# notification window opens: the notice stands over that window in the stacking order, with the
# focus, though the clock is kept above (and its dialogs with it), and is dismissed with a click while
# that window stays up. RUN NOW in that window fails again: the notice comes back over it, and
# closing the notification window leaves it standing until it is dismissed. Standard error keeps
# every line.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings

# Clicks at a place given in twips, as the windows are designed, inside a window's client area.
click_at() {
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
}

is_mapped() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Waits up to 5 s for a window to be shown (`mapped`) or gone (`unmapped`).
wait_until() {
    for _ in $(seq 1 100); do
        is_mapped "$2" && [ "$1" = mapped ] && return 0
        is_mapped "$2" || [ "$1" = mapped ] || return 0
        sleep 0.05
    done
    return 1
}

active_window() {
    printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //; s/,.*//')"
}

# The notice lies over the notification window and holds the focus.
notice_in_front() {
    [ "$(stacking_place "$notice")" -gt "$(stacking_place "$alarm")" ] && [ "$(active_window)" -eq "$notice" ]
}

in_front_or_fail() {
    within 2 notice_in_front ||
        fail "$1: the notice is at $(stacking_place "$notice") in the stacking order, the notification window at $(stacking_place "$alarm"); active: $(active_window), the notice $notice"
    echo "$1: the notice at $(stacking_place "$notice") over the notification window at $(stacking_place "$alarm"), with the focus"
}

due=$(date -d "@$(($(date +%s) + 4))" +%X)
cat >"$conf" <<CONF
[General]
AlwaysOnTop_TICKBOX=1
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Desk notice
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=1
ALARM_1_RUN_COMMAND_TICKBOX=1
RUN_HIDDEN_1_TICKBOX=0
ALARM_1_RUN_COMMAND_TEXTBOX=no-such-program-for-the-notice --now
ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX=0
CONF

"$program" 2>"$work/stderr" &
pid=$!
( exec >/dev/null 2>&1; sleep 60; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
alarm=$(wait_for_window '^VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Desk notice$') ||
    fail "no notification window by $due"
notice=$(wait_for_window '^VQ-DBD - V3 - NOTICES$') || fail "no notice window for the command that did not start"
wait_until_viewable "$alarm"
wait_until_viewable "$notice"
xprop -id "$alarm" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "the notification window is not modal"
# The window manager keeps the notice with the modal window while it is open (some managers keep
# a modal window over everything else kept with the same owner), and with the clock once it goes.
kept_with() {
    [ "$(printf '%d' "$(xprop -id "$notice" WM_TRANSIENT_FOR | sed -n 's/.*# //p')")" -eq "$1" ]
}
within 2 kept_with "$alarm" || fail "the notice is not kept with the notification window: $(xprop -id "$notice" WM_TRANSIENT_FOR)"
in_front_or_fail "told just before the notification window opened"

# The notice takes a click although the modal notification window opened after it.
click_at "$notice" 7567 3247 # DISMISS_BUTTON
wait_until unmapped "$notice" || fail "DISMISS did not close the notice over the modal window"
is_mapped "$alarm" || fail "the notification window closed with the notice"

# RUN NOW fails too: the notice comes back over the notification window (in a new X window: a
# closed window gives its X window up).
click_at "$alarm" 727 2647 # RUN_NOW_BUTTON
notice=$(wait_for_window '^VQ-DBD - V3 - NOTICES$') || fail "RUN NOW's failure did not show the notice"
wait_until mapped "$notice" || fail "RUN NOW's failure did not show the notice"
in_front_or_fail "told by RUN NOW"
# Closing the notification window leaves the notice standing, unread.
click_at "$alarm" 7447 2647 # OK_BUTTON
wait_until unmapped "$alarm" || fail "OK did not close the notification window"
throughout 0.5 is_mapped "$notice" || fail "the notice closed with the notification window"
within 2 kept_with "$clock" || fail "the notice is not kept with the clock again: $(xprop -id "$notice" WM_TRANSIENT_FOR)"
# With the keyboard too: it holds the focus, and Escape dismisses it.
xdotool windowactivate --sync "$notice" 2>/dev/null || true
[ "$(xdotool getwindowfocus)" -eq "$notice" ] || fail "the notice did not take the focus"
xdotool key Escape
wait_until unmapped "$notice" || fail "Escape did not dismiss the notice"

[ "$(grep -c 'was not started' "$work/stderr")" -eq 2 ] || fail "standard error: $(cat "$work/stderr")"
kill -TERM "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
echo "the notice took input over the modal window, outlived it, and was dismissed; standard error kept both lines"
