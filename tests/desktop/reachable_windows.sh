#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Windows stay within reach on the screens there are (XVFB_SCREENS): a clock stored with its caption
# bar off the screens opens on the nearest screen at its own size and is saved there; a stored size
# larger than every screen is reset, with the notice; a window larger than its screen opens on it
# and scrolls, so that its OK button can still be pressed. On 1600 x 1000, the screen set to 800 x 600
# with xrandr while the clock runs brings every open window onto it, the alarm settings window cut
# down to it, and set back to 1600 x 1000 gives that window its whole size again.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
layout=${XVFB_SCREENS:-1280x1024x24}
failures=()

# The outer frame of a client window in pixels: "x y width height".
outer_frame() {
    local id=$1 x y width height left right top bottom
    read -r x y < <(frame_origin "$id")
    width=$(xwininfo -id "$id" | sed -n 's/^ *Width: *//p')
    height=$(xwininfo -id "$id" | sed -n 's/^ *Height: *//p')
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$x $y $((width + left + right)) $((height + top + bottom))"
}

# Twips to the nearest pixel.
pixels() {
    awk -v t="$1" 'BEGIN { p = t / 15; printf "%d\n", p < 0 ? -int(-p + 0.5) : int(p + 0.5) }'
}

start_program() {
    "$program" 2>>"$work/stderr" &
    pid=$!
    ( exec >/dev/null 2>&1; sleep 60; kill -KILL "$pid" ) &
    WATCHDOG=$!
    clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
    wait_until_viewable "$clock"
}

stop_program() {
    kill -TERM "$pid"
    wait_for_exit "$pid"
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
}

# The outer frame a window with the given client area has inside the frame the window manager drew
# round the window, its corner at "x y": "x y width height". An x of rN puts its right edge at N, a
# y of bN its bottom edge at N.
expected_frame() {
    local id=$1 x=$2 y=$3 width=$4 height=$5 left right top bottom
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    width=$((width + left + right)) height=$((height + top + bottom))
    case $x in r*) x=$((${x#r} - width)) ;; esac
    case $y in b*) y=$((${y#b} - height)) ;; esac
    echo "$x $y $width $height"
}

# The clock stored with the given keys opens with its outer frame's corner at "x y" (see
# expected_frame) round its designed client area; on SIGTERM it stores the place it opened at (an
# unmoved coordinate as it was stored).
clock_case() {
    local name=$1 keys=$2 frame expected
    fresh_settings
    printf '[General]\nAlwaysOnTop_TICKBOX=0\n%b\n' "$keys" >"$conf"
    start_program
    frame=$(outer_frame "$clock")
    expected=$(expected_frame "$clock" $3 233 61)
    stop_program
    echo "$name: stored {$(tr '\n' ' ' <<<"$(printf '%b' "$keys")")} opened at $frame"
    if [ "$frame" != "$expected" ]; then
        failures+=("$name: frame $frame instead of $expected")
        return
    fi
    local x y
    read -r x y _ <<<"$frame"
    [ "$(pixels "$(setting "$conf" CLOCK-MAIN-Left)")" = "$x" ] && [ "$(pixels "$(setting "$conf" CLOCK-MAIN-Top)")" = "$y" ] ||
        failures+=("$name: stored $(setting "$conf" CLOCK-MAIN-Left),$(setting "$conf" CLOCK-MAIN-Top) after opening at $x,$y")
}

# Opens the alarm settings window through the clock and the settings window; sets alarms.
open_alarm_settings() {
    xdotool mousemove --window "$clock" 32 28 click 1 # the maker button
    settings=$(wait_for_window '^VQ - DBD - V3 - SETTINGS$') || fail "the settings window did not open"
    wait_until_viewable "$settings"
    xdotool mousemove --window "$settings" 332 84 click 1 # "Alarm Settings"
    alarms=$(wait_for_window '^VQ-DBD - V3 - ALARM SETTINGS$') || fail "the alarm settings window did not open"
    wait_until_viewable "$alarms"
}

# The whole outer frame lies on the desktop of the given size, so the close box and caption do.
frame_within() {
    local x y width height
    read -r x y width height <<<"$1"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le "$2" ] && [ $((y + height)) -le "$3" ]
}

# The alarm settings window on a screen smaller than it: on the screen, and its OK button, at the
# far end of its contents, pressed after scrolling there.
alarm_settings_cut_down() {
    local screen_width=$1 screen_height=$2 frame client_width client_height left right top bottom
    fresh_settings
    printf '[General]\nAlwaysOnTop_TICKBOX=0\n' >"$conf"
    start_program
    open_alarm_settings
    frame=$(outer_frame "$alarms")
    echo "alarm settings on ${screen_width}x${screen_height}: outer frame $frame"
    frame_within "$frame" "$screen_width" "$screen_height" ||
        failures+=("the alarm settings window ($frame) is not wholly on the ${screen_width}x${screen_height} screen")
    client_width=$(xwininfo -id "$alarms" | sed -n 's/^ *Width: *//p')
    client_height=$(xwininfo -id "$alarms" | sed -n 's/^ *Height: *//p')
    read -r left right top bottom < <(xprop -id "$alarms" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    # Scrolled to the end both ways, the contents' bottom-right corner meets the viewport's, inside
    # the scroll bars (about 16 pixels). OK's centre lies 216 and 53 pixels from that corner.
    xdotool mousemove --window "$alarms" 20 20
    # The wheel's events reach the window before the click below, in the order they were sent.
    for _ in $(seq 1 30); do xdotool click 5 click 7; done
    local content_width=906 content_height=532
    xdotool mousemove --window "$alarms" $((client_width - 16 - (content_width - 696))) \
        $((client_height - 16 - (content_height - 504))) click 1
    for _ in $(seq 1 60); do
        xdotool search --name '^VQ-DBD - V3 - ALARM SETTINGS$' >/dev/null 2>&1 || break
        sleep 0.05
    done
    if xdotool search --name '^VQ-DBD - V3 - ALARM SETTINGS$' >/dev/null 2>&1; then
        failures+=("OK could not be pressed in the alarm settings window on ${screen_width}x${screen_height}")
    else
        [ "$(setting "$conf" ALARM_1_TICKBOX)" = 0 ] || failures+=("OK closed the window without saving")
        echo "OK pressed after scrolling: the alarm settings window closed and saved"
    fi
    wmctrl -i -c "$settings"
    within 3 not_viewable "$settings" || failures+=("the settings window did not close")
    stop_program
}

# Every open window's outer frame lies wholly on a desktop of the given size.
windows_within() {
    local window
    for window in "$clock" "$settings" "$alarms"; do
        frame_within "$(outer_frame "$window")" "$1" "$2" || return 1
    done
}

alarm_settings_whole() {
    [ "$(outer_frame "$alarms")" = "$(expected_frame "$alarms" $(cut -d' ' -f1,2 <<<"$(outer_frame "$alarms")") 906 532)" ]
}

# The clock at the right edge and the settings windows open while the screen shrinks and grows back.
screen_shrinks_and_grows() {
    fresh_settings
    printf '[General]
AlwaysOnTop_TICKBOX=0
CLOCK-MAIN-Left=20400
' >"$conf"
    start_program
    open_alarm_settings
    echo "on 1600x1000: clock $(outer_frame "$clock"), settings $(outer_frame "$settings"), alarm settings $(outer_frame "$alarms")"
    xrandr --newmode 800x600 0 800 800 800 800 600 600 600 600
    xrandr --addmode screen 800x600
    xrandr --output screen --mode 800x600
    if within 3 windows_within 800 600; then
        echo "set to 800x600: clock $(outer_frame "$clock"), settings $(outer_frame "$settings"), alarm settings $(outer_frame "$alarms")"
    else
        failures+=("3 s after the screen shrank to 800x600: clock $(outer_frame "$clock"), settings $(outer_frame "$settings"), alarm settings $(outer_frame "$alarms")")
    fi
    xrandr --output screen --mode 1600x1000
    if within 3 alarm_settings_whole; then
        echo "set back to 1600x1000: alarm settings $(outer_frame "$alarms")"
    else
        failures+=("3 s after the screen grew back, the alarm settings window is $(outer_frame "$alarms")")
    fi
    stop_program
}

# A stored size larger than every screen opens at the designed size, with the notice.
huge_size() {
    local frame
    fresh_settings
    printf '[General]\nAlwaysOnTop_TICKBOX=0\nCLOCK-MAIN-Width=10000000\n' >"$conf"
    start_program
    frame=$(outer_frame "$clock")
    echo "clock stored 10000000 twips wide: outer frame $frame"
    [ "$(client_size "$clock")" = "233 61" ] || failures+=("a clock stored 10000000 twips wide is ${frame} round $(client_size "$clock")")
    wait_for_window '^VQ-DBD - V3 - NOTICES$' >/dev/null || failures+=("no notice of the reset size")
    grep -q 'CLOCK-MAIN-Width held "10000000"' "$work/stderr" || failures+=("the reset size is not told")
    stop_program
}

case "$layout" in
640x480x24)
    clock_case "caption above the screen" 'CLOCK-MAIN-Top=-1125' "67 0"
    clock_case "close box off the right edge" 'CLOCK-MAIN-Left=7500' "r640 67"
    huge_size
    alarm_settings_cut_down 640 480
    ;;
1600x1000x24)
    clock_case "caption above the screen" 'CLOCK-MAIN-Top=-1125' "67 0"
    clock_case "far right" 'CLOCK-MAIN-Left=30000' "r1600 67"
    clock_case "on the screen" 'CLOCK-MAIN-Left=15000\nCLOCK-MAIN-Top=9000' "1000 600"
    fresh_settings
    printf '[General]\nAlwaysOnTop_TICKBOX=0\n' >"$conf"
    start_program
    open_alarm_settings
    frame=$(outer_frame "$alarms")
    echo "alarm settings on 1600x1000: outer frame $frame"
    [ "$frame" = "$(expected_frame "$alarms" 67 67 906 532)" ] || failures+=("the alarm settings window opened at $frame on 1600x1000")
    stop_program
    screen_shrinks_and_grows
    ;;
"800x600x24 640x480x24")
    # The right screen is shorter: the desktop's bottom right corner lies on no screen.
    clock_case "negative Left" 'CLOCK-MAIN-Left=-3000' "0 67"
    clock_case "on the right screen" 'CLOCK-MAIN-Left=12750' "850 67"
    clock_case "across the seam" 'CLOCK-MAIN-Left=11250' "750 67"
    clock_case "right of the right screen" 'CLOCK-MAIN-Left=25000' "r1440 67"
    clock_case "right screen, caption above it" 'CLOCK-MAIN-Left=12750\nCLOCK-MAIN-Top=-1125' "850 0"
    clock_case "below the right screen" 'CLOCK-MAIN-Left=13500\nCLOCK-MAIN-Top=7500' "900 b480"
    ;;
*)
    fail "no cases for the screens $layout"
    ;;
esac

[ "${#failures[@]}" -eq 0 ] || fail "$(printf '%s; ' "${failures[@]}")"
echo "every window within reach on $layout"
