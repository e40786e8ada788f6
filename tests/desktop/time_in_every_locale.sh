#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clock's time on a real X server in the locales desktops use: in a 12-hour locale ("07:35:23 PM",
# "07:35:23 μμ") as in a 24-hour one, the whole text stands inside the designed display, clear of
# both its edges, where a text too wide for its box would be cut off or scrolled out of sight.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
program=$1
probe=${WINDOW_PIXELS:?}
fresh_settings
title='^VQ-DRUM-BEAT-DIAL - V3$'

# Locales this machine lacks are built into a private folder.
export LOCPATH=$work/locales
mkdir -p "$LOCPATH"
for locale in C.UTF-8 en_US.UTF-8 el_GR.UTF-8 de_DE.UTF-8; do
    name=${locale%%.*}
    [ "$name" = C ] && continue
    localedef -i "$name" -f UTF-8 "$LOCPATH/$locale" >/dev/null 2>&1 || [ $? -eq 1 ] \
        || fail "cannot build the locale $locale"
done

# The display box in the clock's client area (960, 120, 2415 x 675 twips).
box_left=64 box_top=8 box_width=161 box_height=45
for locale in C.UTF-8 en_US.UTF-8 el_GR.UTF-8 de_DE.UTF-8; do
    printf '[General]\nAlwaysOnTop_TICKBOX=0\n' >"$conf"
    LC_ALL=$locale "$program" 2>>"$work/stderr" &
    pid=$!
    id=$(wait_for_window "$title") || fail "the clock window did not appear in $locale"
    wait_until_viewable "$id"
    sleep 1.2 # the time text replaces the placeholder at the first tick
    read -r first last _ < <("$probe" "$id" 00FF00 "$box_left" "$box_top" "$box_width" "$box_height") \
        || fail "cannot read the clock window in $locale"
    kill -TERM "$pid"
    timeout_kill "$pid"
    wait_for_exit "$pid"
    [ "$first" != none ] || fail "no time text drawn in $locale"
    echo "$locale: text from column $first to $last of the display's $box_left to $((box_left + box_width - 1))"
    [ "$first" -ge $((box_left + 3)) ] && [ "$last" -le $((box_left + box_width - 4)) ] \
        || fail "in $locale the time text touches an edge of its display (columns $first to $last)"
    # Eight or more characters of a large font, not a few left over from a scrolled text.
    [ $((last - first)) -ge 100 ] || fail "in $locale only $((last - first)) columns of time text"
done
