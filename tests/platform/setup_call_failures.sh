#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program with one of its own timer, signal or time-zone watch set-up calls failing (injected by
# strace): it says so once on standard error, still wakes once a second at the second boundary and
# sleeps between, and a SIGTERM still ends it.
set -euo pipefail
program=$1
work=${TEST_WORK:?}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# check_failure CALL ERRNO WHEN STATUS: the WHEN-th CALL fails with ERRNO; STATUS is the exit status
# expected after SIGTERM. Qt 6.4's event loop wakes itself through an eventfd, so every timerfd,
# pipe2 and inotify call in the main thread is the program's own.
check_failure() {
    local call=$1 errno=$2 when=$3 status=$4 pid tracer from to busy wakes exit_status=0
    rm -rf "$work"
    mkdir -p "$work/config"
    XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen \
        strace -f -ttt -o "$work/trace" -e trace="poll,ppoll,$call" \
        -e inject="$call:error=$errno:when=$when" "$program" 2>"$work/stderr" &
    tracer=$!
    sleep 2
    pid=$(pgrep -P "$tracer") || fail "$call: the program did not start"
    busy=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    from=$(date +%s.%N)
    sleep 3
    to=$(date +%s.%N)
    busy=$(($(awk '{ print $14 + $15 }' "/proc/$pid/stat") - busy))
    kill -TERM "$pid"
    wait "$tracer" || exit_status=$?

    [ "$(grep -c '^vq-dbd: ' "$work/stderr")" -eq 1 ] && grep -q "^vq-dbd: .*($call: " "$work/stderr" ||
        fail "$call: not reported once: $(cat "$work/stderr")"
    # More than a tenth of the time on the processor is a loop, not a clock.
    [ "$busy" -le $(($(getconf CLK_TCK) * 3 / 10)) ] || fail "$call: $busy CPU ticks in 3 s"
    awk -v from="$from" -v to="$to" '/poll\(/ && $2 > from && $2 < to { print $2 }' "$work/trace" >"$work/polls"
    # Between seconds the event loop sleeps: it polls only just after a second boundary.
    [ -z "$(awk '$1 - int($1) >= 0.2' "$work/polls")" ] || fail "$call: awake between seconds"
    wakes=$(cut -d. -f1 "$work/polls" | sort -u | wc -l)
    [ "$wakes" -ge 3 ] || fail "$call: awake in $wakes seconds out of 3"
    [ "$exit_status" -eq "$status" ] || fail "$call: exit status $exit_status after SIGTERM"
}

check_failure timerfd_create EMFILE 1 0
# Arming fails for good after a few good seconds.
check_failure timerfd_settime EINVAL 3+ 0
# No handler without the pipe: SIGTERM keeps its default action.
check_failure pipe2 EMFILE 1 $((128 + 15))
# No watch on the time zone's file: the clock keeps the zone it started with.
check_failure inotify_init1 EMFILE 1 0
check_failure inotify_add_watch ENOSPC 1 0
echo "setup call failures: each reported once, the clock still ticks on the second and sleeps between"
