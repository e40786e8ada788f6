#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private X server (Xvfb) with a window manager, then stops both.
# Usage: scripts/with-desktop.sh COMMAND [ARG...]
# WINDOW_MANAGER picks the window manager: openbox (the default), mutter (GNOME on X11), metacity
# (GNOME Flashback; MATE's marco is its fork), xfwm4 (Xfce), kwin_x11 (KDE Plasma) or i3. Each runs
# on a session bus of its own, as it would in its desktop.
# XVFB_SCREENS names the screens' sizes, default "1280x1024x24"; several ("800x600x24 640x480x24")
# make one desktop of monitors side by side, left to right, tops aligned (RandR monitors on one
# X screen: Xvfb's own screens cannot be placed side by side).
set -euo pipefail

window_manager=${WINDOW_MANAGER:-openbox}
case $window_manager in
openbox | mutter | metacity | xfwm4 | kwin_x11 | i3) ;;
*) echo "with-desktop: unknown window manager $window_manager" >&2; exit 2 ;;
esac
if [ "$window_manager" != openbox ] && [ -z "${WITH_DESKTOP_BUS:-}" ]; then
    WITH_DESKTOP_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

read -r -a sizes <<<"${XVFB_SCREENS:-1280x1024x24}"
desktop_width=0
desktop_height=0
for size in "${sizes[@]}"; do
    IFS=x read -r width height _ <<<"$size"
    desktop_width=$((desktop_width + width))
    [ "$height" -gt "$desktop_height" ] && desktop_height=$height
done
depth=${sizes[0]##*x}

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${desktop_width}x${desktop_height}x${depth}" -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$fd_file" "${wm_home:-}"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
done
[ -s "$fd_file" ] || { echo "with-desktop: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
unset WAYLAND_DISPLAY
# Services the bus starts for the window manager (KDE's global shortcuts, say) open the display too.
if [ -n "${WITH_DESKTOP_BUS:-}" ]; then
    dbus-update-activation-environment DISPLAY 2>/dev/null || true
fi

wm_home=$(mktemp -d)
start_window_manager() {
    case $window_manager in
    openbox) openbox --sm-disable ;;
    mutter) mutter --x11 --replace --sm-disable ;;
    metacity) metacity --replace --sm-disable ;;
    xfwm4) xfwm4 --replace --sm-client-disable --compositor=off ;;
    # KDE's own decoration: without one kwin draws no frame at all. Its settings stay in a scratch home.
    kwin_x11) HOME=$wm_home XDG_CONFIG_HOME=$wm_home kwin_x11 --replace ;;
    # Dialogs float, as i3 floats them by its own rules; no bar, no key bindings.
    i3)
        printf 'font pango:DejaVu Sans 8\nfor_window [window_type="utility"] floating enable\n' >"$wm_home/i3.conf"
        i3 -c "$wm_home/i3.conf" -a
        ;;
    esac >/dev/null 2>>"$wm_home/log" &
    wm_pid=$!
}
wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
# The window manager is ready once it has claimed the root window's supporting-WM hint. On a busy
# machine one may take long to start, or fail at its first try (a service of its session bus that
# did not answer in time): it is given 30 s, and two more tries if it ends before it is ready.
for _ in 1 2 3; do
    start_window_manager
    for _ in $(seq 1 600); do
        wm_ready && break
        kill -0 "$wm_pid" 2>/dev/null || break
        sleep 0.05
    done
    wm_ready && break
done
wm_ready || {
    echo "with-desktop: $window_manager did not start; it said:" >&2
    tail -n 20 "$wm_home/log" >&2
    exit 1
}

if [ "${#sizes[@]}" -gt 1 ]; then
    left=0
    for i in "${!sizes[@]}"; do
        IFS=x read -r width height _ <<<"${sizes[$i]}"
        xrandr --setmonitor "S$i" "$width/$((width / 4))x$height/$((height / 4))+$left+0" none
        left=$((left + width))
    done
    # The output's own monitor spans the whole desktop; without the output only the parts remain.
    xrandr --output screen --off 2>/dev/null || true
fi

set +e
"$@"
status=$?
set -e
exit "$status"
