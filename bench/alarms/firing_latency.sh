#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Firing latency of the alarms on a private X server with openbox: FIRINGS alarms (default 30), one
# a second, each running a command and opening its notification window; prints, from the wall-clock
# second boundary, the median and maximum delay to the command's process start and to the window
# being mapped.
# Usage: bench/alarms/firing_latency.sh [FIRINGS]   (after scripts/build.sh -DVQDBD_EXTRAS=ON; BUILD=dir for another build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${BENCH_ON_DESKTOP:-}" ]; then
    BENCH_ON_DESKTOP=1 exec "$root/scripts/with-desktop.sh" "$0" "$@"
fi
build=${BUILD:-$root/build}
"$build/bench/alarms/bench_firing_latency" "${1:-30}" "$build/bench/alarms/bench_alarm_stamp"
