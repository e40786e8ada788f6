# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the real-window tests; sourced by each test script.

# A private settings folder for the program under test: sets work, conf and XDG_CONFIG_HOME.
fresh_settings() {
    work=${TEST_WORK:?}
    rm -rf "$work"
    mkdir -p "$work/config/VQ_DBD"
    export XDG_CONFIG_HOME=$work/config
    conf=$XDG_CONFIG_HOME/VQ_DBD/vq-dbd.conf
}

# Waits until a window found by its title is mapped on the screen and ready for clicks: a window
# has its title before it is shown.
wait_until_viewable() {
    for _ in $(seq 1 200); do
        xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' && { sleep 0.3; return 0; }
        sleep 0.05
    done
    fail "window $1 was never shown"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Prints the id of the first window whose title matches the extended regex, waiting up to 10 s.
wait_for_window() {
    local pattern=$1 id
    for _ in $(seq 1 200); do
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# Waits for a child process to end (see timeout_kill); its exit status is left in EXIT_STATUS.
wait_for_exit() {
    EXIT_STATUS=0
    wait "$1" || EXIT_STATUS=$?
    [ -n "${WATCHDOG:-}" ] && kill "$WATCHDOG" 2>/dev/null
    WATCHDOG=
}

# The value of a key in an INI settings file.
setting() {
    sed -n "s/^$2=//p" "$1"
}

# A client window's client area in pixels: "width height".
client_size() {
    echo "$(xwininfo -id "$1" | sed -n 's/^ *Width: *//p') $(xwininfo -id "$1" | sed -n 's/^ *Height: *//p')"
}

# The outer frame's top-left corner of a client window, in pixels: "x y".
frame_origin() {
    local id=$1 x y left top
    x=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
    read -r left _ top _ < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - left)) $((y - top))"
}

# Waits up to $1 seconds for the command in the other arguments to succeed.
within() {
    local seconds=$1
    shift
    local end=$(($(date +%s%N) + seconds * 1000000000))
    while [ "$(date +%s%N)" -lt "$end" ]; do
        "$@" && return 0
        sleep 0.05
    done
    "$@"
}

# Where a window stands in the window manager's stacking order (_NET_CLIENT_LIST_STACKING), 0 at
# the bottom; -1 when it is not listed.
stacking_place() {
    local place=0 window
    for window in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g'); do
        [ "$((window))" -eq "$1" ] && { echo "$place"; return 0; }
        place=$((place + 1))
    done
    echo -1
}

# Kills a process that is still running 10 s from now, so that a hung program fails its test
# (with the status of SIGKILL) instead of hanging it.
timeout_kill() {
    local pid=$1
    ( exec >/dev/null 2>&1; sleep 10; kill -KILL "$pid" ) &
    WATCHDOG=$!
}
