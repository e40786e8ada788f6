#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and starts the clock.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
# The program alone: the tests, benchmarks and tools a test run may have configured are not built.
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target vq-dbd
exec "$root/build/vq-dbd"
