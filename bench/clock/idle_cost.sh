#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle cost of the clock beside references, in one run on private X servers with openbox:
#   - the clock (build/vq-dbd), and the clock of another build folder when BASELINE names one,
#   - a Qt program rewriting the same text on a 1 ms timer (the design the clock replaces),
#   - xclock -digital -update 1.
# All of them run at once, each on an X server and window manager of its own with a settings folder
# of its own, and are measured over the same SECONDS (default 120): they idle, so they hardly take
# the cores from one another. For each: the work per second (CPU time of all its threads, in the
# scheduler's nanosecond account, per second of the run) and the same as % of one core; wake-ups
# per second (voluntary context switches of all threads: each is a sleep that ended) and, apart, the
# times the kernel preempted it; peak RSS.
# Then, one clock after the other and alone, the display latency after the second boundary over
# SECONDS (all clocks tick on the same boundary, so they would delay one another there), and the
# time from launch to the first time text (median of LAUNCHES launches, default 5). Clocks are named
# by their source's commit. The first line states the machine and the conditions, the last the load
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
    local model wm xvfb
    model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
    wm=$(openbox --version 2>/dev/null | sed -n 1p || true)
    xvfb=$(dpkg-query -W -f 'Xvfb ${Version}' xvfb 2>/dev/null || true)
    echo "machine: $(nproc) cores (${model:-unknown CPU}), Linux $(uname -r), load average $(cut -d' ' -f1-3 /proc/loadavg) at the start; ${wm:-no window manager} on ${xvfb:-Xvfb}"
}

# A build's clock named by its source's commit, "+" when that source has changes.
label() {
    local source rev
    source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$1/CMakeCache.txt" 2>/dev/null)
    rev=$(git -C "${source:-$1}" rev-parse --short HEAD 2>/dev/null || echo "$(basename "$1")")
    git -C "${source:-$1}" diff --quiet HEAD -- 2>/dev/null || rev+="+"
    echo "vq-dbd at $rev"
}

names=()
pids=()
# Starts a program to be measured on a private X server and openbox of its own, with a settings
# folder of its own: two clocks kept on top on one desktop would take the top from each other every
# second.
start() {
    local name=$1 home pidfile
    shift
    home=$(mktemp -d -p "$scratch")
    pidfile=$home.pid
    XDG_CONFIG_HOME=$home "$root/scripts/with-desktop.sh" sh -c 'echo $$ >"$0"; exec "$@"' "$pidfile" "$@" >/dev/null 2>&1 &
    for _ in $(seq 1 200); do
        [ -s "$pidfile" ] && break
        sleep 0.05
    done
    names+=("$name")
    pids+=("$(cat "$pidfile")")
}

measure_all() {
    local i cpu0=() vol0=() forced0=() cpu1 vol1 forced1 rss
    sleep 5 # past the start-ups
    for i in "${!pids[@]}"; do
        cpu0[i]=$(cpu_ns "${pids[i]}")
        read -r "vol0[i]" "forced0[i]" < <(switches "${pids[i]}")
    done
    sleep "$seconds"
    for i in "${!pids[@]}"; do
        cpu1=$(cpu_ns "${pids[i]}")
        read -r vol1 forced1 < <(switches "${pids[i]}")
        rss=$(awk '/VmHWM/ {print $2}' "/proc/${pids[i]}/status")
        awk -v n="${names[i]}" -v c=$((cpu1 - cpu0[i])) -v v=$((vol1 - vol0[i])) -v f=$((forced1 - forced0[i])) -v r="$rss" -v s="$seconds" \
            'BEGIN { printf "%-28s %9.3f %8.4f %10.2f %11.2f %9.1f\n", n, c / 1e6 / s, 100 * c / 1e9 / s, v / s, f / s, r / 1024 }'
    done
    kill "${pids[@]}"
    wait 2>/dev/null || true # the desktops end with their programs
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
echo "idle cost over ${seconds} s, all at once:"
printf '%-28s %9s %8s %10s %11s %9s\n' "" "work ms/s" "CPU %" "wake-ups/s" "preempted/s" "RSS MiB"
start "$(label "$build")" "$build/vq-dbd"
if [ -n "${BASELINE:-}" ]; then
    start "$(label "$BASELINE")" "$BASELINE/vq-dbd"
fi
start "1 ms Qt timer reference" "$build/bench/clock/bench_busy_reference"
if command -v xclock >/dev/null; then
    start "xclock -digital -update 1" xclock -digital -update 1
fi
measure_all
echo "display latency over ${seconds} s and start-up, one clock at a time:"
probe "$(label "$build")" "$build"
if [ -n "${BASELINE:-}" ]; then
    probe "$(label "$BASELINE")" "$BASELINE"
fi
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
