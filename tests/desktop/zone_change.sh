#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clock follows a change of time zone while it runs. Started with TZ=:file, the file a copy of
# the UTC zone, it shows within 2 s of the file being replaced by the UTC+3 zone (a new file renamed
# over it, as the desktop replaces /etc/localtime) the same time as a clock started in UTC+3, three
# hours ahead of what it showed; and an alarm stored for a time of day a few seconds ahead in UTC+3
# fires, once.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
probe=${WINDOW_PIXELS:?}
fresh_settings
zones=/usr/share/zoneinfo/Etc
[ -r "$zones/UTC" ] && [ -r "$zones/GMT-3" ] || fail "no time zone data in $zones"
cp "$zones/UTC" "$work/zone"
fired=$work/fired.txt
title='^VQ-DRUM-BEAT-DIAL - V3$'
# The display box in the clock's client area (960, 120, 2415 x 675 twips).
box='64 8 161 45'

# Whether the clocks' displays show the same pixels: "same" or "differs".
compare() {
    # shellcheck disable=SC2086
    "$probe" "$clock" same "$ahead" $box 2>/dev/null
}

# The clock window of one process.
window_of() {
    local id
    for _ in $(seq 1 200); do
        id=$(xdotool search --all --pid "$1" --name "$title" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

due_at=$(($(date +%s) + 8))
due=$(TZ=:$zones/GMT-3 date -d "@$due_at" +%T)
cat >"$conf" <<CONF
[General]
AlwaysOnTop_TICKBOX=0
CLOCK-MAIN-Left=1500
CLOCK-MAIN-Top=1500
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Zone test
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=0
ALARM_1_RUN_COMMAND_TICKBOX=1
RUN_HIDDEN_1_TICKBOX=1
ALARM_1_RUN_COMMAND_TEXTBOX="sh -c 'echo fired >> $fired'"
CONF
mkdir -p "$work/reference/VQ_DBD"
printf '[General]\nAlwaysOnTop_TICKBOX=0\nCLOCK-MAIN-Left=1500\nCLOCK-MAIN-Top=7500\n' \
    >"$work/reference/VQ_DBD/vq-dbd.conf"

TZ=:$work/zone "$program" 2>"$work/stderr" &
pid=$!
TZ=:$zones/GMT-3 XDG_CONFIG_HOME=$work/reference "$program" 2>"$work/reference-stderr" &
reference=$!
( exec >/dev/null 2>&1; sleep 40; kill -KILL "$pid" "$reference" ) &
WATCHDOG=$!
clock=$(window_of "$pid") || fail "the clock window did not appear"
ahead=$(window_of "$reference") || fail "the UTC+3 clock window did not appear"
wait_until_viewable "$clock"
wait_until_viewable "$ahead"
[ "$(compare)" = differs ] || fail "the clock in UTC shows the time of UTC+3"

cp "$zones/GMT-3" "$work/zone.new"
mv "$work/zone.new" "$work/zone"
changed=$(date +%s.%N)
followed=
while awk "BEGIN { exit !($(date +%s.%N) - $changed < 2) }"; do
    if [ "$(compare)" = same ]; then
        followed=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $changed }")
        break
    fi
done
[ -n "$followed" ] || fail "2 s after the zone file was replaced the clock still does not show UTC+3"
echo "the clock showed the time of UTC+3 at most $followed s after its zone file was replaced"
[ "$(date +%s)" -lt "$due_at" ] || fail "the start took past $due, the alarm's time"

while [ ! -s "$fired" ] && [ "$(date +%s)" -le $((due_at + 2)) ]; do
    sleep 0.05
done
[ -s "$fired" ] || fail "the alarm set for $due in UTC+3 did not fire"
ran_once() {
    [ "$(wc -l <"$fired")" -eq 1 ]
}
throughout 1.2 ran_once || fail "the command ran $(wc -l <"$fired") times"

kill -TERM "$pid" "$reference"
wait "$reference" || true
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
if grep -q 'did not fire\|not started' "$work/stderr"; then fail "$(cat "$work/stderr")"; fi
echo "the alarm set for $due in UTC+3 fired once"
