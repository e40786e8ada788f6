#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle cost of the clock beside two references, on a private X server with openbox:
#   - the clock (build/vq-dbd),
#   - a Qt program rewriting the same text on a 1 ms timer (the design the clock replaces),
#   - xclock -digital -update 1.
# For each: CPU in % of one core, wake-ups (context switches of all threads) per second and peak
# RSS over SECONDS (default 30); then the clock's display latency and start-up time.
# Usage: bench/clock/idle_cost.sh [SECONDS]   (after scripts/build.sh -DVQDBD_EXTRAS=ON; BUILD=dir for another build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-30}
if [ -z "${DISPLAY:-}" ] || [ -z "${BENCH_ON_DESKTOP:-}" ]; then
    BENCH_ON_DESKTOP=1 exec "$root/scripts/with-desktop.sh" "$0" "$@"
fi
build=${BUILD:-$root/build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }

measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 2
    local cpu0 sw0 cpu1 sw1 rss
    cpu0=$(cpu_ticks "$pid")
    sw0=$(switches "$pid")
    sleep "$seconds"
    cpu1=$(cpu_ticks "$pid")
    sw1=$(switches "$pid")
    rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v n="$name" -v c=$((cpu1 - cpu0)) -v w=$((sw1 - sw0)) -v r="$rss" -v s="$seconds" -v t="$ticks" \
        'BEGIN { printf "%-28s %8.3f %% CPU %8.2f wake-ups/s %8.1f MiB peak RSS\n", n, 100 * c / t / s, w / s, r / 1024 }'
}

echo "idle cost over ${seconds} s:"
XDG_CONFIG_HOME=$scratch measure "vq-dbd" "$build/vq-dbd"
measure "1 ms Qt timer reference" "$build/bench/clock/bench_busy_reference"
if command -v xclock >/dev/null; then
    measure "xclock -digital -update 1" xclock -digital -update 1
fi
"$build/bench/clock/bench_display_probe" "$seconds" "$EPOCHREALTIME"
