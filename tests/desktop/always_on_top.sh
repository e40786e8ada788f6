#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clock keeps itself above the other windows: a rival window made topmost and active loses its
# above state within two seconds and the clock gains it. A second rival kept above that is not the
# active window keeps its state, and within two seconds the clock is stacked over it. Unticking
# "Always On Top" in the settings window stops that at once: within a second the clock is an
# ordinary window, and a rival keeps the state it gives itself. Ticked again, the clock is back above.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings

is_above() {
    xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
}

active_window() {
    xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //; s/,.*//'
}

settings_closed() {
    ! xdotool search --name '^VQ - DBD - V3 - SETTINGS$' >/dev/null 2>&1
}

rival_active() {
    [ "$(printf '%d' "$(active_window)")" -eq "$rival" ]
}

# Activates the rival, again if the window manager was still busy giving a new window the focus.
activate_rival() {
    local attempt
    for attempt in 1 2 3 4 5; do
        xdotool windowactivate --sync "$rival" 2>/dev/null || true
        within 1 rival_active && return 0
    done
    fail "the rival could not be made the active window"
}

rival_demoted_and_clock_above() {
    ! is_above "$rival" && is_above "$clock"
}

clock_over_player() {
    [ "$(stacking_place "$clock")" -gt "$(stacking_place "$player")" ]
}

"$program" 2>"$work/stderr" &
pid=$!
( exec >/dev/null 2>&1; sleep 60; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
wait_until_viewable "$clock"

xlogo -geometry 300x300+400+300 &
rival_pid=$!
trap 'kill "$rival_pid" 2>/dev/null || true' EXIT
rival=$(wait_for_window '^xlogo$') || fail "the rival window did not appear"
wait_until_viewable "$rival"

# The rival becomes the active window and makes itself topmost.
activate_rival
wmctrl -i -r "$rival" -b add,above
start=$(date +%s.%N)
within 2 rival_demoted_and_clock_above || fail "after 2 s: rival above? $(is_above "$rival" && echo yes || echo no), clock above? $(is_above "$clock" && echo yes || echo no)"
took=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $start }")
echo "the rival lost its above state and the clock gained it after $took s"
rival_active || fail "the rival stopped being the active window"

# Again, later: every second, not only once.
wmctrl -i -r "$rival" -b add,above
within 2 rival_demoted_and_clock_above || fail "the rival kept its above state the second time"

# A picture-in-picture player: kept above, put there while another window is active, so it lies
# over the clock and is never the active window itself.
xlogo -title player -geometry 200x150+100+100 &
player_pid=$!
trap 'kill "$rival_pid" "$player_pid" 2>/dev/null || true' EXIT
player=$(wait_for_window '^player$') || fail "the player window did not appear"
wait_until_viewable "$player"
activate_rival
wmctrl -i -r "$player" -b add,above
start=$(date +%s.%N)
echo "stacking with the player just kept above: clock at $(stacking_place "$clock"), player at $(stacking_place "$player")"
within 2 clock_over_player || fail "after 2 s the clock (at $(stacking_place "$clock")) is still under the player (at $(stacking_place "$player"))"
took=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $start }")
echo "the clock was stacked over the player after $took s: clock at $(stacking_place "$clock"), player at $(stacking_place "$player")"
is_above "$player" || fail "the player, never active, lost its above state"
is_above "$clock" || fail "the clock lost its above state"
kill "$player_pid"

# Unticking "Always On Top" in the settings window stops the check at once and stores "0".
xdotool mousemove --window "$clock" 32 28 click 1 # the maker button
settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the settings window did not open"
wait_until_viewable "$settings"
xdotool mousemove --window "$settings" 160 84 click 1 # AlwaysOnTop_TICKBOX
within 2 test "$(setting "$conf" AlwaysOnTop_TICKBOX)" = 0 || fail "AlwaysOnTop_TICKBOX not stored as 0"
xdotool mousemove --window "$settings" 480 84 click 1 # OK
within 2 settings_closed || fail "OK did not close the settings window"

clock_ordinary() {
    ! is_above "$clock"
}
within 1 clock_ordinary || fail "1 s after Always On Top was cleared the clock is still kept above"
echo "cleared: the clock is an ordinary window ($(xprop -id "$clock" _NET_WM_STATE))"
activate_rival
wmctrl -i -r "$rival" -b add,above
rival_above_clock_ordinary() {
    is_above "$rival" && ! is_above "$clock"
}
throughout 2.5 rival_above_clock_ordinary ||
    fail "the stopped check acted: rival above? $(is_above "$rival" && echo yes || echo no), clock above? $(is_above "$clock" && echo yes || echo no)"

# Ticked again, the check puts the clock back above the active rival.
xdotool mousemove --window "$clock" 32 28 click 1
settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the settings window did not open again"
wait_until_viewable "$settings"
xdotool mousemove --window "$settings" 160 84 click 1
within 2 test "$(setting "$conf" AlwaysOnTop_TICKBOX)" = 1 || fail "AlwaysOnTop_TICKBOX not stored as 1"
xdotool mousemove --window "$settings" 480 84 click 1
within 2 settings_closed || fail "OK did not close the settings window"
activate_rival
within 2 rival_demoted_and_clock_above || fail "ticked again, the clock did not go back above"

kill -TERM "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
echo "always-on-top: rival demoted, clock raised, every second; unticking makes the clock ordinary, ticking puts it back"
