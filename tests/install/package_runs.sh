#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program unpacked from the Debian package, started the way the menu entry starts it, comes up on
# the desktop as the clock window, of the window class the menu entry names, reads its settings from
# ~/.config/VQ_DBD/vq-dbd.conf (it opens at the place stored there) and saves them there when it is
# closed.
# Usage: package_runs.sh UNPACKED_ROOT   (on a desktop: scripts/with-desktop.sh)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../desktop/lib.sh"
root=$1
work=${TEST_WORK:?}
rm -rf "$work"
[ -x "$root/usr/bin/vq-dbd" ] || fail "no unpacked package at $root"
export HOME=$work/home
unset XDG_CONFIG_HOME
conf=$HOME/.config/VQ_DBD/vq-dbd.conf
mkdir -p "$(dirname "$conf")"
printf '[General]\nCLOCK-MAIN-Left=3000\nCLOCK-MAIN-Top=1507.5\n' >"$conf"

command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$APP_ID.desktop")
PATH=$root/usr/bin:$PATH $command 2>"$work/stderr" &
pid=$!
id=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
[ "$(readlink "/proc/$pid/exe")" = "$root/usr/bin/vq-dbd" ] || fail "another program started: $(readlink "/proc/$pid/exe")"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$APP_ID.desktop")
[ -n "$wm_class" ] || fail "the menu entry names no window class"
xprop -id "$id" WM_CLASS | grep -q ", \"$wm_class\"\$" || fail "WM_CLASS $(xprop -id "$id" WM_CLASS) does not end in the menu entry's $wm_class"
# Shown and framed by the window manager before its place is read, however busy the machine.
wait_until_viewable "$id"
read -r fx fy < <(frame_origin "$id")
[ "$fx" -eq 200 ] && [ "$fy" -eq 101 ] || fail "frame at $fx,$fy instead of the stored 200,101"

wmctrl -i -r "$id" -e 0,400,300,-1,-1
for _ in $(seq 1 40); do
    read -r fx fy < <(frame_origin "$id")
    [ "$fx" -ne 200 ] && break
    sleep 0.05
done
sleep 0.3
wmctrl -i -c "$id"
timeout_kill "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after closing"
[ "$(setting "$conf" CLOCK-MAIN-Left)" = $((fx * 15)) ] || fail "Left $(setting "$conf" CLOCK-MAIN-Left) stored for a frame at x $fx"
[ -z "$(ls -A "$HOME/.config/VQ_DBD" | grep -v '^vq-dbd\.conf$' || true)" ] || fail "other files in VQ_DBD: $(ls -A "$HOME/.config/VQ_DBD")"
echo "the packaged program runs from its menu entry's command and keeps ~/.config/VQ_DBD/vq-dbd.conf"
