#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The autostart entry, started the way a desktop starts it at login (GLib's launcher, `gio launch`),
# runs the program by the path and under the name it was started as: a copy named deskclock2 in a
# folder whose name needs quoting comes up as the clock and keeps its settings in deskclock2.conf.
set -euo pipefail
source "$(dirname "$0")/../desktop/lib.sh"
source "$(dirname "$0")/../install/lib.sh"
program=$1
fresh_settings
command -v gio >/dev/null || fail "gio is not installed (scripts/deps.sh)"
folder="$work/my \$clocks (2)"
mkdir -p "$folder"
cp "$program" "$folder/deskclock2"
entry=$XDG_CONFIG_HOME/autostart/$APP_ID.desktop

PATH="$folder:$PATH" deskclock2 --autostart on >"$work/out" || fail "--autostart on: $(cat "$work/out")"
gio launch "$entry" 2>"$work/stderr" || fail "gio launch: $(cat "$work/stderr")"
id=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the entry started no clock"
pid=$(xprop -id "$id" _NET_WM_PID | awk '{ print $3 }')
[ "$(readlink "/proc/$pid/exe")" = "$folder/deskclock2" ] || fail "the entry started $(readlink "/proc/$pid/exe")"
[ "$(tr '\0' '\n' <"/proc/$pid/cmdline" | head -n1)" = "$folder/deskclock2" ] \
    || fail "the entry started it as $(tr '\0' ' ' <"/proc/$pid/cmdline")"
wmctrl -i -c "$id"
for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
! kill -0 "$pid" 2>/dev/null || fail "the clock did not end when closed"
[ -f "$XDG_CONFIG_HOME/VQ_DBD/deskclock2.conf" ] || fail "no deskclock2.conf: $(ls "$XDG_CONFIG_HOME/VQ_DBD")"
[ ! -e "$conf" ] || fail "the copy wrote the settings of vq-dbd"
echo "the autostart entry starts $folder/deskclock2, which keeps deskclock2.conf"
