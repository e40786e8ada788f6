#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Alarms wake the computer where the system allows it. Each row runs the real program with alarm 1
# due a few seconds ahead (its command writes its own capabilities), alarm 2 due soon after and
# alarm 3 an hour ahead, then freezes it (SIGSTOP, as a machine asleep that nothing woke) until
# alarm 2 lies more than a minute back:
# - as root, and as a user given cap_wake_alarm on a copy of the program, the program holds a
#   CLOCK_REALTIME_ALARM timer (clockid 8) armed for its next alarm, and no other capability, and
#   the command it starts holds none (root's: none but root's own, and never CAP_WAKE_ALARM);
# - as a user without the capability, it says once on standard error why it cannot wake the
#   computer, and the missed alarm's notice carries that reason;
# in every row alarm 1 fires and alarm 2 is told as missed.
# Needs root (setcap, setpriv), as in CI.
set -euo pipefail
program=$1
work=${TEST_WORK:?}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: needs root to grant and drop capabilities"
    exit 0
fi
rm -rf "$work"
mkdir -p "$work"
chmod 755 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill -CONT "$pid" 2>/dev/null || true
        kill -TERM "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

# name | run as (root or user) | capability on the program's copy
rows=("root|root|" "user with cap_wake_alarm|user|cap_wake_alarm+ep" "user without it|user|")
now=$(date +%s)
first=$((now + 4)) second=$((now + 8)) later=$((now + 3600))
for i in "${!rows[@]}"; do
    IFS='|' read -r _ who capability <<<"${rows[i]}"
    dir=$work/$i
    mkdir -p "$dir/config/VQ_DBD" "$dir/runtime"
    cp "$program" "$dir/vq-dbd"
    cat >"$dir/config/VQ_DBD/vq-dbd.conf" <<CONF
[General]
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_TIME_TEXTBOX=$(date -d "@$first" +%X)
ALARM_1_RUN_COMMAND_TICKBOX=1
ALARM_1_RUN_COMMAND_TEXTBOX=sh -c 'grep ^Cap /proc/self/status > $dir/command-caps'
ALARM_2_TICKBOX=1
ALARM_2_NAME_TEXTBOX=Tea
ALARM_2_TIME_TEXTBOX=$(date -d "@$second" +%X)
ALARM_3_TICKBOX=1
ALARM_3_TIME_TEXTBOX=$(date -d "@$later" +%X)
CONF
    chmod 700 "$dir/runtime"
    as=()
    if [ "$who" = user ]; then
        chown -R nobody:nogroup "$dir"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    # After the chown, which clears a file's capabilities.
    [ -z "$capability" ] || setcap "$capability" "$dir/vq-dbd"
    "${as[@]}" env HOME="$dir" XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/runtime" \
        QT_QPA_PLATFORM=offscreen "$dir/vq-dbd" 2>"$dir/stderr" &
    pids+=($!)
done

# The it_value seconds of the program's wake-up timer, or nothing without one.
wake_timer() {
    local info
    for info in /proc/"$1"/fdinfo/*; do
        if grep -qx 'clockid: 8' "$info" 2>/dev/null; then
            sed -n 's/^it_value: (\([0-9]*\), .*/\1/p' "$info"
            return
        fi
    done
}
for _ in $(seq 1 200); do
    [ "$(ls "$work"/*/command-caps 2>/dev/null | wc -l)" -eq ${#rows[@]} ] && break
    sleep 0.05
done
for i in "${!rows[@]}"; do
    [ -s "$work/$i/command-caps" ] || fail "${rows[i]%%|*}: alarm 1 did not run its command"
done
# Alarm 2 is next: closer than the lead, the timer is set for its own second.
for i in 0 1; do
    left=$(wake_timer "${pids[i]}")
    [ -n "$left" ] && [ $((second - $(date +%s) - left)) -ge -1 ] && [ $((second - $(date +%s) - left)) -le 1 ] ||
        fail "${rows[i]%%|*}: no wake-up timer armed for alarm 2 (it_value ${left:-none}, due in $((second - $(date +%s))) s)"
done
[ -z "$(wake_timer "${pids[2]}")" ] || fail "${rows[2]%%|*}: a wake-up timer without the capability"
for pid in "${pids[@]}"; do
    kill -STOP "$pid"
done
[ "$(date +%s)" -lt "$second" ] || fail "alarm 1 fired too late to freeze the clocks before alarm 2"
sleep $((second - $(date +%s) + 64))
for pid in "${pids[@]}"; do
    kill -CONT "$pid"
done
sleep 2

for i in "${!rows[@]}"; do
    IFS='|' read -r what who capability <<<"${rows[i]}"
    dir=$work/$i
    status=/proc/${pids[i]}/status
    missed=$(grep '^vq-dbd: alarm 2 ("Tea" at .*) did not fire' "$dir/stderr") || fail "$what: alarm 2 not told as missed: $(cat "$dir/stderr")"
    refusals=$(grep -c 'alarms cannot wake the computer from sleep' "$dir/stderr" || true)
    grep -q '^CapInh:\s*0*$' "$dir/command-caps" && grep -q '^CapPrm:\s*0*$' "$dir/command-caps" &&
        grep -q '^CapAmb:\s*0*$' "$dir/command-caps" || [ "$who" = root ] ||
        fail "$what: the command holds capabilities: $(cat "$dir/command-caps")"
    # Root's command has root's capabilities, but never CAP_WAKE_ALARM (bit 35), not even in its
    # bounding set, which only a root command gains from.
    while read -r set mask; do
        [ "$set" = CapBnd: ] && [ "$who" != root ] && continue
        (((16#$mask >> 35) & 1)) && fail "$what: the command's $set holds CAP_WAKE_ALARM: $(cat "$dir/command-caps")"
    done <"$dir/command-caps"
    if [ "$i" -eq 2 ]; then
        [ "$refusals" -eq 1 ] || fail "$what: the refusal said $refusals times: $(cat "$dir/stderr")"
        grep -q 'lacks the CAP_WAKE_ALARM capability; grant it with: sudo setcap cap_wake_alarm+ep ' <<<"$missed" ||
            fail "$what: the missed alarm does not say why the computer was not woken: $missed"
        grep -q '^CapPrm:\s*0*$' "$status" || fail "$what: the program holds capabilities: $(grep ^Cap "$status")"
        continue
    fi
    [ "$refusals" -eq 0 ] || fail "$what: a refusal was said: $(cat "$dir/stderr")"
    grep -q 'could not be woken' <<<"$missed" && fail "$what: the missed alarm speaks of a refusal: $missed"
    # Re-armed after the sleep for alarm 3, ten seconds ahead of it.
    left=$(wake_timer "${pids[i]}")
    expected=$((later - 10 - $(date +%s)))
    [ -n "$left" ] && [ $((expected - left)) -ge -1 ] && [ $((expected - left)) -le 1 ] ||
        fail "$what: after the sleep the wake-up timer is at ${left:-none} s, not $expected s"
    if [ "$who" = user ]; then
        # The one capability kept (CAP_WAKE_ALARM is bit 35), and none for the command.
        grep -q '^CapPrm:\s*0000000800000000$' "$status" ||
            fail "$what: the program holds $(grep ^CapPrm "$status") instead of cap_wake_alarm alone"
    fi
    echo "$what: alarm 1 fired, the wake-up timer followed alarms 2 and 3 ($left s ahead), the command held $(grep ^CapPrm "$dir/command-caps")"
done
echo "${rows[2]%%|*}: alarm 1 fired; said once why the computer cannot be woken, and the missed alarm 2 says it too"
