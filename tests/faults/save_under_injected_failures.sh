#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The save on closing under failed system calls. strace fails one kind of call that the save makes
# (openat, write, fsync, close, rename and whichever others it turns out to use), once at its N-th
# invocation and, in a second run, from the N-th on, for every N up to the last call the program
# makes. After a single failure a retry saves: the file holds exactly the new bytes. After a failure
# that persists the file holds exactly the old bytes and standard error names the unsaved keys. In
# every run the file stays 0600, no temporary file is left, and the program is gone within 5 s of
# SIGTERM. Usage: save_under_injected_failures.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
work=${TEST_WORK:-$(mktemp -d)}
rm -rf "$work"
mkdir -p "$work"

command -v strace >/dev/null || fail "strace is not installed (scripts/packages.txt lists it)"

# Calls that could take part in a save, and the error each fails with: ENOSPC where a full disk
# gives it, EIO elsewhere.
declare -A ERRNO_OF=(
    [openat]=ENOSPC [open]=ENOSPC [creat]=ENOSPC
    [write]=ENOSPC [writev]=ENOSPC [pwrite64]=ENOSPC [ftruncate]=ENOSPC [fallocate]=ENOSPC
    [fsync]=EIO [fdatasync]=EIO [close]=EIO [fchmod]=EIO [chmod]=EIO [fchmodat]=EIO
    [rename]=ENOSPC [renameat]=ENOSPC [renameat2]=ENOSPC [link]=ENOSPC [linkat]=ENOSPC
    [unlink]=EIO [unlinkat]=EIO
)
ALWAYS_SWEPT="openat write fsync close rename"
MAX_N=400
# Two values of N at a time, each failed once and from then on: four programs at once.
BATCH=2
EXIT_LIMIT_MS=5000

old=$work/old.conf
new=$work/new.conf
mkdir -p "$work/learn/VQ_DBD"
write_settings "$work/learn/VQ_DBD/vq-dbd.conf" 10500
cp -p "$work/learn/VQ_DBD/vq-dbd.conf" "$old"
learn_new_bytes "$work/learn" "$new"
check_new_bytes "$old" "$new"
echo "settings file: $(wc -c <"$old") bytes old, $(wc -c <"$new") bytes new"

# run_case DIR CALL WHEN [TRACED]: one run of the program on a fresh copy of the old settings in
# DIR, with strace attached once the program is idle, failing CALL at invocation(s) WHEN (none when
# CALL is "-"), and tracing TRACED so that the log shows what each failed call touched. Leaves in
# DIR: trace, stderr, status, elapsed (ms from the SIGTERM that closed it), notes.
run_case() {
    local dir=$1 call=$2 when=$3 traced=${4:-$2}
    local pid tracer started inject=() resent=0
    mkdir -p "$dir/config/VQ_DBD"
    cp -p "$old" "$dir/config/VQ_DBD/vq-dbd.conf"
    : >"$dir/notes"
    XDG_CONFIG_HOME=$dir/config "$program" 2>"$dir/stderr" &
    pid=$!
    if ! wait_until_idle "$pid"; then
        echo "the program did not come up" >>"$dir/notes"
        kill -KILL "$pid" 2>/dev/null || true
        { wait "$pid" || true; } 2>/dev/null
        echo 0 >"$dir/elapsed"
        echo 0 >"$dir/status"
        return 0
    fi
    [ "$call" = - ] || inject=(-e "inject=$call:error=${ERRNO_OF[$call]}:when=$when")
    strace -f -y -p "$pid" -o "$dir/trace" -e "trace=$traced" "${inject[@]}" 2>"$dir/strace.err" &
    tracer=$!
    for _ in $(seq 1 200); do
        grep -qs attached "$dir/strace.err" && break
        sleep 0.025
    done
    grep -qs attached "$dir/strace.err" || echo "strace did not attach: $(cat "$dir/strace.err")" >>"$dir/notes"
    kill -TERM "$pid"
    started=$(now_ms)
    while ! has_ended "$pid"; do
        # The failed call may be the signal handler's wake-up byte, which loses that SIGTERM: sent
        # again it gets through, unless every later write fails as well.
        if [ "$resent" -eq 0 ] && grep -qE '^[0-9]+ +write\([0-9]+<pipe:\[[0-9]+\]>, "\\1", 1\) += -1 .*\(INJECTED\)' "$dir/trace"; then
            resent=1
            if [[ $when == *+ ]]; then
                echo "n/a: every SIGTERM's wake-up byte fails" >>"$dir/notes"
                kill -KILL "$pid"
            else
                echo "SIGTERM sent again: the first one's wake-up byte was failed" >>"$dir/notes"
                kill -TERM "$pid"
                started=$(now_ms)
            fi
        fi
        if [ $(($(now_ms) - started)) -gt 10000 ]; then
            echo "still running 10 s after SIGTERM: killed" >>"$dir/notes"
            kill -KILL "$pid"
            break
        fi
        sleep 0.02
    done
    echo $(($(now_ms) - started)) >"$dir/elapsed"
    local status=0
    # (Quietly: the shell would announce a killed job.)
    { wait "$pid" || status=$?; } 2>/dev/null
    echo "$status" >"$dir/status"
    wait "$tracer" 2>/dev/null || true
}

# "+" for a failure from the N-th call on, as strace writes it.
suffix_of() {
    if [ "$1" = from ]; then echo +; fi
}

# judge DIR MODE CALL N: checks one run (MODE "once" or "from"); prints "FAIL ..." lines for each
# check that does not hold, "INJECTED <count> <in settings folder> <on temporary file>", and last
# "JUDGED", so that a judgement cut short does not pass for a clean run.
judge() {
    judge_checks "$@"
    echo JUDGED
}

judge_checks() {
    local dir=$1 mode=$2 call=$3 n=$4 conf=$1/config/VQ_DBD
    local what="$call ${ERRNO_OF[$call]} when=$n$(suffix_of "$mode")"
    local result injected folder temp left elapsed
    injected=$(grep -c '(INJECTED)$' "$dir/trace" 2>/dev/null || true)
    folder=$(grep '(INJECTED)$' "$dir/trace" 2>/dev/null | grep -cF "$conf" || true)
    temp=$(grep '(INJECTED)$' "$dir/trace" 2>/dev/null | grep -cF "$conf/vq-dbd.conf.new-" || true)
    echo "INJECTED ${injected:-0} ${folder:-0} ${temp:-0}"
    if grep -q '^n/a' "$dir/notes"; then
        return 0
    fi
    if grep -qv '^SIGTERM sent again' "$dir/notes"; then
        echo "FAIL $what: $(grep -v '^SIGTERM sent again' "$dir/notes" | tr '\n' ' ')"
    fi
    result=$(outcome_of "$conf/vq-dbd.conf" "$old" "$new")
    elapsed=$(cat "$dir/elapsed")
    [ "$elapsed" -le "$EXIT_LIMIT_MS" ] || echo "FAIL $what: still running ${elapsed} ms after SIGTERM"
    [ "$(cat "$dir/status")" -eq 0 ] || echo "FAIL $what: exit status $(cat "$dir/status")"
    [ "$(stat -c %a "$conf/vq-dbd.conf" 2>/dev/null)" = 600 ] ||
        echo "FAIL $what: mode $(stat -c %a "$conf/vq-dbd.conf" 2>/dev/null || echo none), not 600"
    left=$(leftovers "$conf")
    [ -z "$left" ] || echo "FAIL $what: left in the settings folder: $left"
    if [ "$mode" = once ]; then
        [ "$result" = new ] || echo "FAIL $what: one failed call, and the file is $result, not the new bytes"
        if grep -q '^vq-dbd: settings not saved:' "$dir/stderr"; then
            echo "FAIL $what: one failed call, yet it reports: $(grep '^vq-dbd: settings not saved:' "$dir/stderr")"
        fi
        return 0
    fi
    case $result in
    old | new) ;;
    *) echo "FAIL $what: the file is $result, neither the old nor the new bytes" ;;
    esac
    # A failure that first hits the save before the new file took the old one's name never lets
    # the save through. The lock file's own sync and close are left out: Qt does not report them,
    # and the lock is held all the same.
    local first_hit renamed
    first_hit=$(grep -nF "$conf" "$dir/trace" | grep '(INJECTED)$' |
        grep -vE '^[0-9]+:[0-9]+ +(fsync|fdatasync|close)\([0-9]+<[^>]*/vq-dbd\.conf\.lock>' |
        head -n1 | cut -d: -f1 || true)
    renamed=$(grep -nE "^[0-9]+ +rename[a-z0-9]*\(.*vq-dbd\.conf\"(, [A-Z_|]+)?\) += 0$" "$dir/trace" |
        head -n1 | cut -d: -f1 || true)
    if [ -n "$first_hit" ] && { [ -z "$renamed" ] || [ "$first_hit" -lt "$renamed" ]; }; then
        [ "$result" = old ] || echo "FAIL $what: the save failed from line $first_hit of the trace on, yet the file is $result"
    fi
    if [ "$result" = old ] && ! reports_unsaved_keys "$dir/stderr"; then
        # Unless the report itself was among the failed writes.
        if ! grep -qE '^[0-9]+ +write\(2<.*\(INJECTED\)$' "$dir/trace"; then
            echo "FAIL $what: the file kept the old bytes but standard error does not name $SAVED_KEYS: $(program_lines "$dir/stderr")"
        fi
    fi
}

# The calls the save makes: those a fault-free traced run shows touching the settings folder.
candidates=$(printf '%s\n' "${!ERRNO_OF[@]}" | sort | paste -sd,)
run_case "$work/discover" - - "$candidates"
[ -s "$work/discover/trace" ] || fail "strace recorded nothing: $(cat "$work/discover/strace.err")"
[ "$(outcome_of "$work/discover/config/VQ_DBD/vq-dbd.conf" "$old" "$new")" = new ] ||
    fail "a traced run without faults did not write the new bytes"
used=$(grep -F "$work/discover/config/VQ_DBD" "$work/discover/trace" | sed -E 's/^[0-9]+ +([a-z0-9_]+)\(.*/\1/' | sort -u)
calls=$(printf '%s\n' $ALWAYS_SWEPT $used | awk '!seen[$0]++' | paste -sd' ')
traced=$(printf '%s\n' $calls | paste -sd,)
echo "the save uses: $(echo $used); failing in turn: $calls"

failures=$work/failures
: >"$failures"
summary=()
total_temp=0
for call in $calls; do
    n=1 tried=0 injected=0 folder=0 temp=0 skipped=0 failed_before=$(wc -l <"$failures")
    while [ "$n" -le "$MAX_N" ]; do
        last=$((n + BATCH - 1))
        for ((k = n; k <= last; k++)); do
            run_case "$work/$call/$k" "$call" "$k" "$traced" &
            run_case "$work/$call/$k+" "$call" "$k+" "$traced" &
        done
        wait
        done_sweeping=0
        for ((k = n; k <= last; k++)); do
            for mode in once from; do
                dir=$work/$call/$k$(suffix_of "$mode")
                judged=0
                while read -r tag rest; do
                    if [ "$tag" = JUDGED ]; then
                        judged=1
                    elif [ "$tag" = INJECTED ]; then
                        read -r i f t <<<"$rest"
                        injected=$((injected + i)) folder=$((folder + f)) temp=$((temp + t))
                        [ "$mode" = once ] && [ "$i" -eq 0 ] && done_sweeping=1
                    else
                        echo "$rest" >>"$failures"
                        echo "FAIL: $rest" >&2
                    fi
                done < <(judge "$dir" "$mode" "$call" "$k")
                [ "$judged" -eq 1 ] || echo "$call when=$k$(suffix_of "$mode"): the checks of $dir broke off" >>"$failures"
                grep -q '^n/a' "$dir/notes" && skipped=$((skipped + 1))
                echo "$call $k$(suffix_of "$mode"): $(outcome_of "$dir/config/VQ_DBD/vq-dbd.conf" "$old" "$new")," \
                    "$(cat "$dir/elapsed") ms, $(head -n1 "$dir/notes")" >>"$work/runs.log"
            done
            tried=$((tried + 1))
        done
        [ "$done_sweeping" -eq 1 ] && break
        n=$((last + 1))
    done
    [ "$n" -le "$MAX_N" ] || echo "$call: the program still made calls after $MAX_N of them" >>"$failures"
    total_temp=$((total_temp + temp))
    summary+=("$(printf '%-10s N=1..%-3d failed calls %4d, in the settings folder %3d, on the temporary file %3d, not applicable %d, failures %d' \
        "$call" "$tried" "$injected" "$folder" "$temp" "$skipped" $(($(wc -l <"$failures") - failed_before)))")
    echo "${summary[-1]}"
done

echo "--- summary"
printf '%s\n' "${summary[@]}"
[ "$total_temp" -gt 0 ] || echo "coverage: no failed call touched a temporary vq-dbd.conf.new-* file" >>"$failures"
if [ -s "$failures" ]; then
    echo "FAIL: $(wc -l <"$failures") checks did not hold:" >&2
    sort -u "$failures" | head -n 60 >&2
    exit 1
fi
echo "every failed call left the old or the new settings whole, as it should"
