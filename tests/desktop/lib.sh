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

# A window's frame corner and client size as the X server has them now, in one line.
geometry_now() {
    echo "$(frame_origin "$1" 2>/dev/null) $(client_size "$1" 2>/dev/null)"
}

# Whether the window manager has taken the window in: it has set the window's WM_STATE to normal
# and, under a manager that tells frames, told the window its frame. (i3 tells a frame only once the
# window is moved, so past the first 2 s of waiting the frame is not asked for.)
managed() {
    xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Normal' || return 1
    [ "${2:-0}" -ge 40 ] && return 0
    xprop -root _NET_SUPPORTED | grep -q _NET_FRAME_EXTENTS || return 0
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='
}

# Waits until a window is mapped, taken in by the window manager and no longer moved or resized
# (the same geometry on two readings 0.1 s apart), so that it is ready for clicks at its places.
wait_until_viewable() {
    local before= now tries
    for tries in $(seq 1 200); do
        if xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' && managed "$1" "$tries"; then
            now=$(geometry_now "$1")
            [ "$now" = "$before" ] && return 0
            before=$now
            sleep 0.1
            continue
        fi
        before=
        sleep 0.05
    done
    fail "window $1 was never shown and settled"
}

# Whether a window is no longer shown: unmapped or destroyed.
not_viewable() {
    ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Whether the X server has the keyboard's focus on the window; it can come after the window manager
# calls the window active.
has_focus() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Waits up to 3 s for the keyboard's focus on the window before keys are sent to it; where the
# focus follows the pointer it never comes, and the keys go to the window under the pointer.
await_focus() {
    within 3 has_focus "$1" || echo "the keyboard's focus is on $(xdotool getwindowfocus), not $1" >&2
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

# Whether a window's outer frame has its top-left corner at x y.
frame_at() {
    [ "$(frame_origin "$1")" = "$2 $3" ]
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

# Checks the command in the other arguments every 0.05 s for $1 seconds: it fails as soon as the
# command fails, and succeeds if the command held all that time.
throughout() {
    local end
    end=$(($(date +%s%3N) + $(awk "BEGIN { printf \"%d\", $1 * 1000 }")))
    shift
    while [ "$(date +%s%3N)" -lt "$end" ]; do
        "$@" || return 1
        sleep 0.05
    done
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
