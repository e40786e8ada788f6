#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test; CTest's summary
# is the last thing printed. Real-window tests start their own Xvfb and openbox.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" -DVQDBD_WERROR=ON -DBUILD_TESTING=ON
cd "$root/build"
ctest --output-on-failure -j2
