#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle cost of the clock beside references, in one run on a private X server with openbox:
#   - the clock (build/vq-dbd), and the clock of another build folder when BASELINE names one,
#   - a Qt program rewriting the same text on a 1 ms timer (the design the clock replaces),
#   - xclock -digital -update 1.
# For each, over SECONDS (default 120): the work per second (CPU time of all its threads, in the
# scheduler's nanosecond account, per second of the run) and the same as % of one core; wake-ups per
# second (voluntary context switches of all threads: each is a sleep that ended) and, apart, the
# times the kernel preempted it; peak RSS. Then for each clock the display latency after the second
# boundary over SECONDS, and the time from launch to the first time text (median of LAUNCHES
# launches, default 5). The first line states the machine and the conditions, the last the load
# average after the run; figures taken while other programs keep the cores busy come out higher.
# Usage: bench/clock/idle_cost.sh [SECONDS]   (after scripts/build.sh -DVQDBD_EXTRAS=ON; BUILD=dir
#        for another build, BASELINE=dir to measure a second build's clock beside it)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-120}
launches=${LAUNCHES:-5}
if [ -z "${DISPLAY:-}" ] || [ -z "${BENCH_ON_DESKTOP:-}" ]; then
    BENCH_ON_DESKTOP=1 exec "$root/scripts/with-desktop.sh" "$0" "$@"
fi
build=${BUILD:-$root/build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Nanoseconds on a CPU, all threads together.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{s += $1} END {printf "%.0f\n", s}'; }
# Voluntary and forced context switches, all threads together.
switches() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ {v += $2} /^nonvoluntary_ctxt_switches/ {n += $2} END {print v, n}'; }

machine() {
    local model wm
    model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
    wm=$(openbox --version 2>/dev/null | head -n1 || echo "no window manager")
    echo "machine: $(nproc) cores (${model:-unknown CPU}), Linux $(uname -r), load average $(cut -d' ' -f1-3 /proc/loadavg) at the start; $wm on Xvfb"
}

measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 5 # past the start-up
    local cpu0 cpu1 vol0 forced0 vol1 forced1 rss
    cpu0=$(cpu_ns "$pid")
    read -r vol0 forced0 < <(switches "$pid")
    sleep "$seconds"
    cpu1=$(cpu_ns "$pid")
    read -r vol1 forced1 < <(switches "$pid")
    rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v n="$name" -v c=$((cpu1 - cpu0)) -v v=$((vol1 - vol0)) -v f=$((forced1 - forced0)) -v r="$rss" -v s="$seconds" \
        'BEGIN { printf "%-28s %9.3f %8.4f %10.2f %11.2f %9.1f\n", n, c / 1e6 / s, 100 * c / 1e9 / s, v / s, f / s, r / 1024 }'
}

# Display latency over the run, and the median time from launch to the first time text.
probe() {
    local name=$1 dir=$2 firsts=()
    printf '%-28s ' "$name"
    XDG_CONFIG_HOME=$scratch "$dir/bench/clock/bench_display_probe" "$seconds" 2>/dev/null | tr -d '\n'
    for _ in $(seq 1 "$launches"); do
        firsts+=("$(XDG_CONFIG_HOME=$scratch "$dir/bench/clock/bench_display_probe" 0 "$EPOCHREALTIME" 2>/dev/null)")
        sleep 0.5
    done
    printf '%s\n' "${firsts[@]}" | sort -n | awk -v n="$launches" \
        '{ v[NR] = $1 } END { printf "; launch to the first time text: median %.1f ms (%.1f to %.1f) over %d launches\n", v[int((NR + 1) / 2)], v[1], v[NR], n }'
}

machine
echo "idle cost over ${seconds} s:"
printf '%-28s %9s %8s %10s %11s %9s\n' "" "work ms/s" "CPU %" "wake-ups/s" "preempted/s" "RSS MiB"
XDG_CONFIG_HOME=$scratch measure "vq-dbd" "$build/vq-dbd"
if [ -n "${BASELINE:-}" ]; then
    XDG_CONFIG_HOME=$scratch measure "vq-dbd of $(basename "$(dirname "$BASELINE")")" "$BASELINE/vq-dbd"
fi
measure "1 ms Qt timer reference" "$build/bench/clock/bench_busy_reference"
if command -v xclock >/dev/null; then
    measure "xclock -digital -update 1" xclock -digital -update 1
fi
probe "vq-dbd" "$build"
if [ -n "${BASELINE:-}" ]; then
    probe "vq-dbd of $(basename "$(dirname "$BASELINE")")" "$BASELINE"
fi
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
