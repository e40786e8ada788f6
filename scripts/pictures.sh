#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders each window (clock, settings, colours, alarm settings with a few alarms, a notification
# window in its countdown, the test window) on a private X server and writes PNG files.
# Usage: scripts/pictures.sh [FOLDER]   (default docs/pictures; builds first if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath -m "${1:-$root/docs/pictures}")
program=${WINDOW_PICTURES:-$root/build/scripts/pictures/window_pictures}
[ -x "$program" ] || "$root/scripts/build.sh" -DVQDBD_EXTRAS=ON >/dev/null
LC_ALL=C.UTF-8 "$root/scripts/with-desktop.sh" "$program" "$folder"
