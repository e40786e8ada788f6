#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The dialogs as drawn on a real X server and worked from the keyboard: each colour preset's face
# is exactly its colour, the captions that fit most tightly stand whole inside their controls,
# Enter presses the focused button and Escape closes a dialog as its close box does, storing only
# what that stores.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
probe=${WINDOW_PIXELS:?}
fresh_settings
# Alarms on, so that the alarm rows are not greyed out and their captions are drawn in the text colour.
printf '[General]\nAlwaysOnTop_TICKBOX=0\nENABLE_ALARMS_TICKBOX=1\n' >"$conf"

# Clicks at a place given in twips, as the windows are designed, inside a window's client area.
click_at() {
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
}

# Presses a key as the user would, once the window given has the keyboard's focus.
press() {
    await_focus "$1"
    xdotool key --clearmodifiers "$2"
}

# The probe's answer about the window's pixels (see window_pixels.cpp).
pixels() {
    "$probe" "$@" 2>/dev/null
}

# Each caption of a window stands whole inside its control, drawn in the font the windows are laid
# out in (Liberation Sans, at the pixel size given; "|" between the lines of a caption that wraps):
# a caption cut off by its control, or drawn in a larger default font, is not found there.
check_captions() {
    local window=$1 name left top width height size text found
    while read -r name left top width height size text; do
        # A window the window manager has just framed or moved may not have drawn itself yet.
        for _ in 1 2 3 4 5; do
            found=$(pixels "$window" text $((left / 15)) $((top / 15)) $((width / 15)) $((height / 15)) \
                "Liberation Sans" "$size" "$text") || fail "cannot read the window of $name"
            grep -q missing <<<"$found" || break
            sleep 0.3
        done
        echo "$name \"$text\": $(tr '\n' ' ' <<<"$found")"
        grep -q missing <<<"$found" && fail "$name's caption \"$text\" does not stand whole in its control"
    done
    return 0
}

# Waits until no window has the title.
wait_until_gone() {
    for _ in $(seq 1 100); do
        xdotool search --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    return 1
}

settings_title='^VQ - DBD - V3 - SETTINGS$'
colours_title='^VQ-DBD - V3 - SET CLOCK COLORS$'
alarms_title='^VQ-DBD - V3 - ALARM SETTINGS$'
test_title='^VQ-DBD - V3 - !!! ALARM TEST NOTIFICATION'

"$program" 2>"$work/stderr" &
pid=$!
( exec >/dev/null 2>&1; sleep 120; kill -KILL "$pid" ) &
WATCHDOG=$!
clock=$(wait_for_window '^VQ-DRUM-BEAT-DIAL - V3$') || fail "the clock window did not appear"
wait_until_viewable "$clock"
xdotool windowactivate --sync "$clock" 2>/dev/null
within 3 has_focus "$clock" || fail "the clock did not take the keyboard's focus: $(xdotool getwindowfocus)"

# Enter on the clock presses its maker button; Escape closes the settings window, which stores
# nothing (only its OK does).
press "$clock" Return
settings=$(wait_for_window "$settings_title") || fail "Enter on the clock did not open the settings window"
wait_until_viewable "$settings"
press "$settings" Escape
wait_until_gone "$settings_title" || fail "Escape did not close the settings window"
grep -q '^MAIN-SETTINGS-' "$conf" && fail "Escape stored the settings window's place: $(grep MAIN-SETTINGS "$conf")"
# The window manager hands the focus back to no tool window, so the user gives it to the clock by
# its caption bar.
xdotool windowactivate --sync "$clock" 2>/dev/null
within 3 has_focus "$clock" || fail "the clock did not take the keyboard's focus again: $(xdotool getwindowfocus)"
press "$clock" Return
settings=$(wait_for_window "$settings_title") || fail "Enter on the clock did not open the settings window again"
wait_until_viewable "$settings"
check_captions "$settings" <<'EOF'
AlwaysOnTop_TICKBOX 2280 1080 1455 375 11 Always On Top
EOF

click_at "$settings" 1087 1267 # "Clock Colors"
colours=$(wait_for_window "$colours_title") || fail "the colours window did not open"
wait_until_viewable "$colours"
# Every pixel inside each preset's one-pixel frame is the preset's colour (RRGGBB; the store's values
# are 0xBBGGRR).
while read -r name colour left top; do
    x=$((left / 15 + 1)) y=$((top / 15 + 1)) width=$((735 / 15 - 2)) height=$((375 / 15 - 2))
    read -r first last count < <(pixels "$colours" "$colour" "$x" "$y" "$width" "$height") ||
        fail "cannot read the colours window"
    centre=$(pixels "$colours" at $((x + width / 2)) $((y + height / 2)))
    echo "$name: $count of $((width * height)) face pixels are $colour (centre $centre)"
    [ "$first" != none ] && [ "$count" -eq $((width * height)) ] ||
        fail "$name's face is not $colour throughout: ${count:-0} of $((width * height)) pixels, centre $centre"
done <<'EOF'
BLACK_FOREGROUND 000000 240 1080
WHITE_FOREGROUND FFFFFF 1080 1080
RED_FOREGROUND FF0000 1920 1080
YELLOW_FOREGROUND FFFF00 2760 1080
ORANGE_FOREGROUND FF8000 3600 1080
GREEN_FOREGROUND 00FF00 240 1680
BLUE_FOREGROUND 0000FF 1080 1680
CYAN_FOREGROUND 00FFFF 1920 1680
PINK_FOREGROUND FF8080 2760 1680
PURPLE_FOREGROUND FF00FF 3600 1680
BLACK_BACKGROUND 000000 4800 1080
WHITE_BACKGROUND FFFFFF 5640 1080
RED_BACKGROUND FF0000 6480 1080
YELLOW_BACKGROUND FFFF00 7320 1080
ORANGE_BACKGROUND FF8000 8160 1080
GREEN_BACKGROUND 00FF00 4800 1560
BLUE_BACKGROUND 0000FF 5640 1560
CYAN_BACKGROUND 00FFFF 6480 1560
PINK_BACKGROUND FF8080 7320 1560
PURPLE_BACKGROUND FF00FF 8160 1560
EOF

# A preset recolours the clock at once; Escape then closes the window as its close box does: the
# place is stored, the colour is not.
click_at "$colours" 2287 1267 # RED_FOREGROUND_COLOR_BUTTON
press "$colours" Escape
wait_until_gone "$colours_title" || fail "Escape did not close the colours window"
[ -n "$(setting "$conf" COLORS-WINDOW-Left)" ] || fail "Escape did not store the colours window's place"
grep -q '^CLOCK_FORECOLOR' "$conf" && fail "Escape stored the clock's colour as OK would"

# Back in the settings window "Clock Colors" keeps the focus: Enter opens the colours window again.
press "$settings" Return
colours=$(wait_for_window "$colours_title") || fail "Enter on \"Clock Colors\" did not open the colours window"
wait_until_viewable "$colours"
press "$colours" Escape
wait_until_gone "$colours_title" || fail "Escape did not close the colours window the second time"

# Shift+Tab goes back to "Alarm Settings"; Enter opens it and Escape stores only its place.
press "$settings" shift+Tab
press "$settings" Return
alarms=$(wait_for_window "$alarms_title") || fail "Enter on \"Alarm Settings\" did not open the alarm settings window"
wait_until_viewable "$alarms"
press "$alarms" Escape
wait_until_gone "$alarms_title" || fail "Escape did not close the alarm settings window"
[ -n "$(setting "$conf" ALARM-SETTINGS-Left)" ] || fail "Escape did not store the alarm settings window's place"
grep -q '^ALARM_1_' "$conf" && fail "Escape stored the alarm rows as OK would"

press "$settings" Return
alarms=$(wait_for_window "$alarms_title") || fail "the alarm settings window did not open again"
wait_until_viewable "$alarms"
check_captions "$alarms" <<'EOF'
ENABLE_XXX_ALARM_LABEL 120 600 495 255 10 Enable
ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX 5520 600 1095 255 10 Auto Close
EOF
click_at "$alarms" 3667 7567 # "Test Alarm Notification Window"
test=$(wait_for_window "$test_title") || fail "the test notification window did not open"
wait_until_viewable "$test"
check_captions "$test" <<'EOF'
ALARM_RUN_COMMAND_TICKBOX 1440 1560 1455 375 11 Run Command
ALARM_MESSAGE_AUTO_CLOSE_TICKBOX 1440 2400 735 495 11 Auto|Close
EOF
press "$test" Escape
wait_until_gone "$test_title" || fail "Escape did not close the test notification window"
[ -n "$(setting "$conf" ALARM-TEST-NOTIFICATION-MESSAGE-Left)" ] || fail "Escape did not store the test window's place"
press "$alarms" Escape
wait_until_gone "$alarms_title" || fail "Escape did not close the alarm settings window the second time"

# Shift+Tab twice more reaches OK, which Enter presses: only OK stores the settings window's place.
press "$settings" shift+Tab
press "$settings" shift+Tab
press "$settings" Return
wait_until_gone "$settings_title" || fail "Enter on OK did not close the settings window"
[ -n "$(setting "$conf" MAIN-SETTINGS-Left)" ] || fail "Enter on OK did not store the settings window's place"
# The red preset, clicked and never stored, still colours the clock's time (its display box, now
# that no dialog covers it).
red_time() {
    local first
    read -r first _ < <(pixels "$clock" FF0000 64 8 161 45) || fail "cannot read the clock window"
    [ "$first" != none ]
}
within 2 red_time || fail "the red preset did not recolour the clock's time"

kill -TERM "$pid"
wait_for_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after SIGTERM"
echo "presets exact, captions whole, Enter and Escape as designed"
