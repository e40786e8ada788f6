#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own lines on standard error begin with the name it was started under, and
# QT_LOGGING_RULES silences each of its categories. Each row runs a copy of the real program whose
# settings hold a colour that does not parse (a vqdbd.store line) and an alarm due a few seconds
# later whose command does not exist (a vqdbd.alarms line); the rows run side by side.
set -euo pipefail
program=$1
work=${TEST_WORK:?}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

store_line='settings: CLOCK_FORECOLOR held "green", which is not a valid'
alarms_line='alarm 1: the command line "no-such-program-here" was not started'

# name | QT_LOGGING_RULES | store line expected | alarms line expected
rows=(
    "vq-dbd||1|1"
    "deskclock2||1|1"
    "deskclock2|vqdbd.store.warning=false|0|1"
    "deskclock2|vqdbd.alarms=false|1|0"
    "vq-dbd|vqdbd.*=false|0|0"
)

rm -rf "$work"
mkdir -p "$work"
due=$(date -d "@$(($(date +%s) + 3))" +%X)
pids=()
for i in "${!rows[@]}"; do
    IFS='|' read -r name rules _ _ <<<"${rows[i]}"
    dir=$work/$i
    mkdir -p "$dir/bin" "$dir/config/VQ_DBD"
    cp "$program" "$dir/bin/$name"
    cat >"$dir/config/VQ_DBD/$name.conf" <<CONF
[General]
CLOCK_FORECOLOR=green
ENABLE_ALARMS_TICKBOX=1
ALARM_1_TICKBOX=1
ALARM_1_TIME_TEXTBOX=$due
ALARM_1_DISPLAY_MESSAGE_TICKBOX=0
ALARM_1_RUN_COMMAND_TICKBOX=1
ALARM_1_RUN_COMMAND_TEXTBOX=no-such-program-here
CONF
    QT_LOGGING_RULES=$rules XDG_CONFIG_HOME=$dir/config QT_QPA_PLATFORM=offscreen \
        "$dir/bin/$name" 2>"$dir/stderr" &
    pids+=($!)
done
# Past the alarm's second, then closed the ordinary way.
sleep 5
for pid in "${pids[@]}"; do
    kill -TERM "$pid"
done
for pid in "${pids[@]}"; do
    wait "$pid" || fail "exit status $? after SIGTERM"
done

for i in "${!rows[@]}"; do
    IFS='|' read -r name rules store alarms <<<"${rows[i]}"
    err=$work/$i/stderr
    what="$name${rules:+ with $rules}"
    [ "$(grep -cF "$name: $store_line" "$err")" -eq "$store" ] ||
        fail "$what: the store line not $store times: $(cat "$err")"
    [ "$(grep -cF "$name: $alarms_line" "$err")" -eq "$alarms" ] ||
        fail "$what: the alarms line not $alarms times: $(cat "$err")"
    # Every line of the program's own, and no other, says the name it was started under.
    if grep -vF "$name: " "$err" | grep -qE "$store_line|$alarms_line|^vq-dbd:|^vqdbd\."; then
        fail "$what: a line without the name: $(cat "$err")"
    fi
done
echo "the program's lines carry the name it was started under; QT_LOGGING_RULES silences each category"
