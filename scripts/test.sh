#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then builds and runs every test twice: first the unit tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/), then the whole suite, real-window
# tests included, in the ordinary build (build/) with warnings as errors. CTest's summary of the
# ordinary build is the last thing printed. Real-window tests start their own Xvfb and openbox.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVQDBD_SANITIZE=ON \
    -DVQDBD_WERROR=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$root/build-sanitize"
# Real-program tests under strace and on tiny disks, and wall-clock thresholds, run in the ordinary
# build only: a traced process cannot run LeakSanitizer, and time limits are for a program built to be
# used. The format check needs no second run.
(cd "$root/build-sanitize" && ctest --output-on-failure -j2 -LE "desktop|faults|timing|format")

echo "== every test"
"$root/scripts/build.sh" -DVQDBD_WERROR=ON -DBUILD_TESTING=ON -DVQDBD_EXTRAS=ON
cd "$root/build"
ctest --output-on-failure -j2
