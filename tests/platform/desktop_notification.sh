#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An alarm missed while the machine slept reaches the desktop's notification list. Each row runs the
# real program with an alarm due a few seconds ahead and freezes it (SIGSTOP, as a machine asleep)
# over that second until it lies more than a minute back; on waking it reports the alarm missed. A private session
# bus holds a fake notification service that records every call; other rows have a bus without the
# service, or no bus at all, and there nothing changes beyond an optional debug line.
set -euo pipefail
program=$1
server=${FAKE_NOTIFICATION_SERVER:?}
work=${TEST_WORK:?}
here=$(cd "$(dirname "$0")" && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
daemons=()
children=()
cleanup() {
    for pid in "${children[@]}" "${daemons[@]}"; do
        kill -CONT "$pid" 2>/dev/null || true
        kill -TERM "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

# start_bus NAME: a private session bus; its address is in $work/NAME.address.
start_bus() {
    local out
    out=$(dbus-daemon --config-file="$here/private-session-bus.conf" --fork --print-address=1 --print-pid=1)
    head -n1 <<<"$out" >"$work/$1.address"
    daemons+=("$(sed -n 2p <<<"$out")")
}
start_bus served
start_bus unserved
DBUS_SESSION_BUS_ADDRESS=$(cat "$work/served.address") "$server" "$work/calls" &
children+=($!)
for _ in $(seq 1 100); do
    [ -e "$work/calls.ready" ] && break
    sleep 0.05
done
[ -e "$work/calls.ready" ] || fail "the fake notification service did not start"

# name | bus (served, unserved or none) | QT_LOGGING_RULES | the debug line expected, if any
rows=(
    "service|served||"
    "bus without service|unserved||"
    "bus without service, debug asked|unserved|vqdbd.platform.debug=true|no desktop notification: .*org.freedesktop.Notifications"
    "no bus|none||"
    "no bus, debug asked|none|vqdbd.platform.debug=true|no desktop notification: no session bus"
)

due_at=$(($(date +%s) + 10))
due=$(date -d "@$due_at" +%X)
pids=()
for i in "${!rows[@]}"; do
    IFS='|' read -r _ bus rules _ <<<"${rows[i]}"
    dir=$work/$i
    mkdir -p "$dir/config/VQ_DBD" "$dir/runtime"
    chmod 700 "$dir/runtime"
    cat >"$dir/config/VQ_DBD/vq-dbd.conf" <<CONF
[General]
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_NAME_TEXTBOX=Tea & <cake>
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=1
ALARM_1_RUN_COMMAND_TICKBOX=0
CONF
    address=
    [ "$bus" = none ] || address=$(cat "$work/$bus.address")
    # With no address and an empty runtime folder there is no session bus to be found.
    env -u DBUS_SESSION_BUS_ADDRESS ${address:+DBUS_SESSION_BUS_ADDRESS=$address} \
        XDG_RUNTIME_DIR="$dir/runtime" QT_LOGGING_RULES=$rules XDG_CONFIG_HOME="$dir/config" \
        QT_QPA_PLATFORM=offscreen "$program" 2>"$dir/stderr" &
    pids+=($!)
    children+=($!)
done
# ticking PID: the program has shown a second and armed its timer for the next one.
ticking() {
    grep -h '^it_value:' /proc/"$1"/fdinfo/* 2>/dev/null | grep -qv '(0, 0)'
}
for pid in "${pids[@]}"; do
    for _ in $(seq 1 300); do
        ticking "$pid" && break
        sleep 0.05
    done
    ticking "$pid" || fail "the clock did not start ticking"
    kill -STOP "$pid"
done
[ "$(date +%s)" -lt $((due_at - 1)) ] || fail "the clocks started too slowly to be frozen before $due"
# Asleep over the alarm's second and for more than a minute after it.
sleep 75
for pid in "${pids[@]}"; do
    kill -CONT "$pid"
done
sleep 3
for pid in "${pids[@]}"; do
    kill -TERM "$pid"
done
for pid in "${pids[@]}"; do
    wait "$pid" || fail "exit status $? after SIGTERM"
done

for i in "${!rows[@]}"; do
    IFS='|' read -r what bus _ debug <<<"${rows[i]}"
    err=$work/$i/stderr
    [ "$(grep -c "^vq-dbd: alarm 1 (\"Tea & <cake>\" at $due) did not fire" "$err")" -eq 1 ] ||
        fail "$what: the missed alarm not reported once: $(cat "$err")"
    if [ -n "$debug" ]; then
        [ "$(grep -c "^vq-dbd: $debug" "$err")" -eq 1 ] || fail "$what: no debug line /$debug/: $(cat "$err")"
    fi
    # Nothing else about the bus or the service.
    if grep -i 'bus\|notification' "$err" | grep -v "^vq-dbd: alarm 1 \|^vq-dbd: ${debug:-^}" | grep -q .; then
        fail "$what: more on standard error: $(cat "$err")"
    fi
done

# The one served row made one call, with the alarm's name and time.
[ "$(grep -c '^app_name: ' "$work/calls")" -eq 1 ] || fail "not one call: $(cat "$work/calls")"
argument() {
    sed -n "s/^$1: //p" "$work/calls"
}
[ "$(argument app_name)" = VQ-DRUM-BEAT-DIAL ] || fail "app_name $(argument app_name)"
[ "$(argument replaces_id)" = 0 ] || fail "replaces_id $(argument replaces_id)"
[ "$(argument app_icon)" = net.vela_quill.vq_dbd ] || fail "app_icon $(argument app_icon)"
[ "$(argument summary)" = "Missed alarm: Tea & <cake> at $due" ] || fail "summary $(argument summary)"
# The body may be read as markup, so the name's & < > come escaped.
[[ "$(argument body)" == "alarm 1 (\"Tea &amp; &lt;cake&gt;\" at $due) did not fire: the local time jumped forward by 1 min "* ]] ||
    fail "body $(argument body)"
[ -z "$(argument actions)" ] || fail "actions $(argument actions)"
[ "$(argument hints)" = "desktop-entry=net.vela_quill.vq_dbd:QString,urgency=1:uchar" ] || fail "hints $(argument hints)"
[ "$(argument expire_timeout)" = -1 ] || fail "expire_timeout $(argument expire_timeout)"
echo "a missed alarm reached the notification service once, with its name and time; without the service or a bus nothing changed"
