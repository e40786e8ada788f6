#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The save on closing on a nearly full disk: a small tmpfs holds the settings folder, settings files
# of about 1, 10 and 64 KB, and a filler file that leaves exactly 0, 1, 2 or 3 pages free. Closed
# with SIGTERM, the program leaves the file exactly as it was or exactly the new bytes (the new only
# when there was room for them), 0600, with no temporary file beside it, and when it could not save,
# standard error names the keys; it is gone within 5 s. With the disk freed, the next run saves.
# Needs root for the mount: skipped otherwise. Usage: save_on_nearly_full_disk.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
work=${TEST_WORK:-$(mktemp -d)}
rm -rf "$work"
mkdir -p "$work"

EXIT_LIMIT_MS=5000
PAGE=4096

skip() {
    echo "************************************************************"
    echo "SKIP: $*"
    echo "************************************************************"
    exit 0
}

[ "$(id -u)" -eq 0 ] || skip "mounting a small tmpfs needs root; the nearly full disk is not tested"
disk=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    umount "$disk" 2>/dev/null || true
    rmdir "$disk" 2>/dev/null || true
}
trap cleanup EXIT
mount -t tmpfs -o size=1m,mode=0700 tmpfs "$disk" 2>"$work/mount.err" ||
    skip "mount -t tmpfs was refused ($(cat "$work/mount.err")); the nearly full disk is not tested"
[ "$(stat -f -c %S "$disk")" -eq "$PAGE" ] || fail "the tmpfs has blocks of $(stat -f -c %S "$disk") bytes"

free_pages() {
    stat -f -c %a "$disk"
}

# Sizes the filler so that exactly $1 pages are free: shrinking frees pages, and growing takes them
# only where it writes (fallocate), not where it merely extends the size.
fill_to() {
    local want=$1 size=0 free
    : >"$disk/filler"
    for _ in 1 2 3 4 5; do
        free=$(free_pages)
        [ "$free" -eq "$want" ] && return 0
        size=$((size + (free - want) * PAGE))
        truncate -s "$size" "$disk/filler"
        [ "$size" -eq 0 ] || fallocate -l "$size" "$disk/filler"
    done
    [ "$(free_pages)" -eq "$want" ] ||
        fail "could not leave exactly $want pages free ($(free_pages) are; df: $(df -B"$PAGE" "$disk" | tail -n1))"
}

# run_program CONFIG STDERR: starts the program, closes it with SIGTERM and waits for it to end;
# the time that took, in ms, is left in ELAPSED and its exit status in STATUS.
run_program() {
    local started
    XDG_CONFIG_HOME=$1 "$program" 2>"$2" &
    pid=$!
    wait_until_idle "$pid" || fail "the program did not come up: $(cat "$2")"
    kill -TERM "$pid"
    started=$(now_ms)
    while ! has_ended "$pid"; do
        if [ $(($(now_ms) - started)) -gt 10000 ]; then
            kill -KILL "$pid"
            break
        fi
        sleep 0.02
    done
    ELAPSED=$(($(now_ms) - started))
    STATUS=0
    { wait "$pid" || STATUS=$?; } 2>/dev/null
    pid=
}

failures=()
for kb in 1 10 64; do
    slots=10
    [ "$kb" -gt 1 ] || slots=2
    old=$work/old-$kb.conf
    new=$work/new-$kb.conf
    mkdir -p "$work/learn-$kb/VQ_DBD"
    write_settings "$work/learn-$kb/VQ_DBD/vq-dbd.conf" $((kb * 1024)) "$slots"
    cp -p "$work/learn-$kb/VQ_DBD/vq-dbd.conf" "$old"
    learn_new_bytes "$work/learn-$kb" "$new"
    check_new_bytes "$old" "$new"
    needed=$((($(stat -c %s "$new") + PAGE - 1) / PAGE))
    for pages in 0 1 2 3; do
        what="$(stat -c %s "$old") bytes, free pages $pages"
        problems=()
        find "$disk" -mindepth 1 -delete
        conf=$disk/config/VQ_DBD
        mkdir -p "$conf"
        cp -p "$old" "$conf/vq-dbd.conf"
        fill_to "$pages"
        run_program "$disk/config" "$work/stderr-$kb-$pages"
        stderr=$work/stderr-$kb-$pages
        result=$(outcome_of "$conf/vq-dbd.conf" "$old" "$new")
        case $result in
        old)
            reports_unsaved_keys "$stderr" ||
                problems+=("the file kept the old bytes but standard error does not name $SAVED_KEYS: $(program_lines "$stderr")")
            ;;
        new)
            [ "$pages" -ge "$needed" ] ||
                problems+=("the new bytes need $needed pages, yet they were written in $pages")
            ;;
        *) problems+=("the file is $result, neither the old nor the new bytes") ;;
        esac
        [ "$ELAPSED" -le "$EXIT_LIMIT_MS" ] || problems+=("still running $ELAPSED ms after SIGTERM")
        [ "$STATUS" -eq 0 ] || problems+=("exit status $STATUS")
        mode=$(stat -c %a "$conf/vq-dbd.conf" 2>/dev/null || echo none)
        [ "$mode" = 600 ] || problems+=("mode $mode, not 600")
        left=$(leftovers "$conf")
        [ -z "$left" ] || problems+=("left in the settings folder: $left")

        # With room again, the next run's save goes through.
        rm -f "$disk/filler"
        run_program "$disk/config" "$stderr.after"
        after=$(outcome_of "$conf/vq-dbd.conf" "$old" "$new")
        [ "$after" = new ] || problems+=("with the disk freed the next run left the file $after, not the new bytes")
        [ "$(stat -c %a "$conf/vq-dbd.conf" 2>/dev/null || echo none)" = 600 ] ||
            problems+=("mode $(stat -c %a "$conf/vq-dbd.conf" 2>/dev/null || echo none) after the freed run")
        [ "$STATUS" -eq 0 ] || problems+=("exit status $STATUS after the freed run")

        printf '%-28s %-26s then with room: %-24s %s\n' "$what:" "$result" "$after" \
            "$([ ${#problems[@]} -eq 0 ] && echo ok || echo FAILED)"
        for problem in "${problems[@]}"; do
            failures+=("$what: $problem")
        done
    done
done

if [ ${#failures[@]} -gt 0 ]; then
    echo "FAIL: ${#failures[@]} checks did not hold:" >&2
    printf '  %s\n' "${failures[@]}" >&2
    exit 1
fi
echo "on a nearly full disk every save left the old or the new settings whole, and caught up with room"
