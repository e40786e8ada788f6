#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One clock per settings file. Of two copies started under one name, 0 ms and then 50 ms apart, one
# runs the clock and the other says on standard error that it is already running and ends with
# status 0: there is one clock window, and an alarm runs its command once and opens one window.
# A copy under another name runs beside it; starting the first name again brings its clock to the
# front (active and on top), while --version still answers at once. After a kill -9 of the running
# copy a new start runs at once, and can be reached by the next. A copy started without
# XDG_RUNTIME_DIR (from su or ssh) finds the clock the desktop started with it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
fresh_settings
clock_title='^VQ-DRUM-BEAT-DIAL - V3$'
pids=()
trap 'kill -KILL "${pids[@]}" 2>/dev/null || true' EXIT

# Retries a command for up to 10 s.
eventually() {
    for _ in $(seq 1 200); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
count_windows() {
    { xdotool search --name "$1" 2>/dev/null || true; } | wc -l
}
has_windows() {
    [ "$(count_windows "$1")" -eq "$2" ]
}
has_clock() {
    xdotool search --pid "$1" --name "$clock_title" >/dev/null 2>&1
}
running() {
    kill -0 "$1" 2>/dev/null
}
one_has_ended() {
    ! running "$1" || ! running "$2"
}
active_window() {
    xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*window id # //p'
}
is_active() {
    [ "$(active_window)" = "$(printf '0x%x' "$1")" ]
}
on_top() {
    [ "$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*, //; s/.*# //')" = "$(printf '0x%x' "$1")" ]
}
# check_second_copy PID STDERR: the copy ended with status 0, saying in one line that it handed over.
check_second_copy() {
    wait_for_exit "$1"
    [ "$EXIT_STATUS" -eq 0 ] || fail "the second copy ended with status $EXIT_STATUS: $(cat "$2")"
    [ "$(cat "$2")" = "vq-dbd: already running for $conf; brought it to the front" ] ||
        fail "the second copy said: $(cat "$2")"
}

for gap in 0 0.05; do
    fired=$work/fired-$gap.txt
    due=$(date -d "@$(($(date +%s) + 3))" +%X)
    cat >"$conf" <<CONF
[General]
AlwaysOnTop_TICKBOX=0
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Backup
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=1
ALARM_1_RUN_COMMAND_TICKBOX=1
RUN_HIDDEN_1_TICKBOX=1
ALARM_1_RUN_COMMAND_TEXTBOX="sh -c 'echo fired >> $fired; exec sleep 5'"
CONF
    "$program" 2>"$work/a.err" &
    a=$!
    [ "$gap" = 0 ] || sleep "$gap"
    "$program" 2>"$work/b.err" &
    b=$!
    pids+=("$a" "$b")
    eventually one_has_ended "$a" "$b" || fail "${gap} s apart: both copies still run"
    if running "$a"; then
        winner=$a second=$b second_err=$work/b.err
    else
        winner=$b second=$a second_err=$work/a.err
    fi
    check_second_copy "$second" "$second_err"
    wait_for_window "$clock_title" >/dev/null || fail "${gap} s apart: no clock window"
    [ "$(count_windows "$clock_title")" -eq 1 ] || fail "${gap} s apart: $(count_windows "$clock_title") clock windows"

    notification='^VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - Backup$'
    wait_for_window "$notification" >/dev/null || fail "${gap} s apart: no notification window by $due"
    eventually test -s "$fired" || fail "${gap} s apart: the command did not run"
    # A second copy's alarm would fire in the same second. (The command outlives the clock, into the
# next row: it must not hold the clock's lock.)
    sleep 1
    [ "$(wc -l <"$fired")" -eq 1 ] || fail "${gap} s apart: the command ran $(wc -l <"$fired") times"
    [ "$(count_windows "$notification")" -eq 1 ] ||
        fail "${gap} s apart: $(count_windows "$notification") notification windows"
    kill -TERM "$winner"
    wait_for_exit "$winner"
    [ "$EXIT_STATUS" -eq 0 ] || fail "${gap} s apart: exit status $EXIT_STATUS after SIGTERM"
    echo "${gap} s apart: one clock, the other copy handed over; the alarm ran its command once"
done

# A copy under another name keeps its own settings and runs beside the first.
printf '[General]\nAlwaysOnTop_TICKBOX=0\n' >"$conf"
cp "$conf" "$XDG_CONFIG_HOME/VQ_DBD/deskclock2.conf"
mkdir -p "$work/bin"
ln -s "$program" "$work/bin/deskclock2"
"$program" 2>"$work/first.err" &
first=$!
pids+=("$first")
first_id=$(wait_for_window "$clock_title") || fail "the clock did not start"
"$work/bin/deskclock2" 2>"$work/other.err" &
other=$!
pids+=("$other")
eventually has_windows "$clock_title" 2 ||
    fail "deskclock2 did not come up beside the clock: $(cat "$work/other.err")"
other_id=$(xdotool search --pid "$other" --name "$clock_title" | head -n1)
running "$first" || fail "the first clock ended when deskclock2 started"
version=$("$program" --version 2>&1) || fail "--version beside a running clock: $version"
[[ $version == vq-dbd* ]] || fail "--version beside a running clock said: $version"
# The new clock has the focus; started again, the first comes to the front.
wmctrl -i -a "$other_id"
eventually is_active "$other_id" || fail "deskclock2's clock never became the active window"
"$program" 2>"$work/again.err" &
again=$!
pids+=("$again")
check_second_copy "$again" "$work/again.err"
eventually is_active "$first_id" || fail "the running clock was not made active: $(active_window)"
eventually on_top "$first_id" || fail "the running clock was not raised: $(xprop -root _NET_CLIENT_LIST_STACKING)"
running "$other" || fail "deskclock2 ended"
echo "deskclock2 runs beside the clock; started again, the clock came to the front"

# A copy that crashed blocks nothing: the next start runs, and listens in its place.
kill -KILL "$first"
wait "$first" || true
"$program" 2>"$work/after.err" &
after=$!
pids+=("$after")
eventually has_clock "$after" ||
    fail "no clock after the running copy was killed: $(cat "$work/after.err")"
running "$after" || fail "the start after a kill -9 ended: $(cat "$work/after.err")"
if grep -q 'already running' "$work/after.err"; then fail "$(cat "$work/after.err")"; fi
"$program" 2>"$work/next.err" &
next=$!
pids+=("$next")
check_second_copy "$next" "$work/next.err"
for pid in "$after" "$other"; do
    kill -TERM "$pid"
    wait_for_exit "$pid"
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
done
echo "after a kill -9 of the running copy a new start runs at once and answers the next"

# The desktop's copy has XDG_RUNTIME_DIR=/run/user/<uid>; one started from su or ssh may lack it.
session=/run/user/$(id -u)
if [ ! -e "$session" ] && mkdir -m 0700 "$session" 2>/dev/null; then
    trap 'kill -KILL "${pids[@]}" 2>/dev/null || true; rm -rf "$session"' EXIT
fi
if [ -d "$session" ] && [ -O "$session" ]; then
    XDG_RUNTIME_DIR=$session "$program" 2>"$work/desktop.err" &
    desktop=$!
    pids+=("$desktop")
    eventually has_clock "$desktop" || fail "no clock with XDG_RUNTIME_DIR=$session: $(cat "$work/desktop.err")"
    env -u XDG_RUNTIME_DIR "$program" 2>"$work/shell.err" &
    shell=$!
    pids+=("$shell")
    timeout_kill "$shell" # a second clock would not end by itself
    check_second_copy "$shell" "$work/shell.err"
    [ "$(count_windows "$clock_title")" -eq 1 ] || fail "two clocks for one settings file, one started without XDG_RUNTIME_DIR"
    kill -TERM "$desktop"
    wait_for_exit "$desktop"
    echo "a copy started without XDG_RUNTIME_DIR handed over to the clock started with it"
else
    echo "not tried: there is no runtime folder $session of this user"
fi
