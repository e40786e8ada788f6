#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line, with no display at all: --help and --version print and exit 0, a
# wrong command line is told in one line before the usage and exits 2, Qt's own options still go to
# Qt, and --autostart on|off writes and removes an autostart entry that desktop-file-validate accepts
# and that starts the program by the path and name it was started under.
# Usage: command_line.sh PROGRAM VERSION
set -euo pipefail
source "$(dirname "$0")/../install/lib.sh"
program=$1
version=$2
work=${TEST_WORK:?}
rm -rf "$work"
mkdir -p "$work/config" "$work/my \$clocks"
export XDG_CONFIG_HOME=$work/config
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
entry=$XDG_CONFIG_HOME/autostart/$APP_ID.desktop
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (scripts/deps.sh)"

# check STATUS STDOUT STDERR COMMAND...: the exit status and the first line of each stream ("" for
# an empty stream). A refused command line is followed by the usage on standard error.
check() {
    local status=$1 out=$2 err=$3 got=0
    shift 3
    "$@" >"$work/out" 2>"$work/err" </dev/null || got=$?
    local row="$*"
    [ "$got" -eq "$status" ] || fail "$row: exit status $got, not $status; $(cat "$work/err")"
    [ "$(head -n1 "$work/out")" = "$out" ] || fail "$row: standard output $(head -n1 "$work/out")"
    [ "$(head -n1 "$work/err")" = "$err" ] || fail "$row: standard error $(head -n1 "$work/err")"
    if [ "$status" -eq 2 ]; then
        sed -n 2p "$work/err" | grep -q '^Usage: [^ ]* \[options\] \[Qt options\]$' || fail "$row: no usage after the error"
    fi
}

usage="Usage: vq-dbd [options] [Qt options]"
check 0 "$usage" "" "$program" --help
check 0 "$usage" "" "$program" -h
check 0 "vq-dbd (VQ-DRUM-BEAT-DIAL) $version" "" "$program" --version
grep -qx 'License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.' "$work/out" \
    || fail "--version does not name the licence"
check 0 "vq-dbd (VQ-DRUM-BEAT-DIAL) $version" "" "$program" -platform xcb -display :99 -v
check 1 "" "vq-dbd: cannot write to standard output" bash -c '"$0" --help >/dev/full' "$program"
check 2 "" "vq-dbd: Unknown option 'bogus'." "$program" --bogus
check 2 "" "vq-dbd: Unknown option 'platfrom'." "$program" -platfrom xcb
check 2 "" "vq-dbd: Unexpected argument 'clock'." "$program" clock
check 2 "" "vq-dbd: Missing value after '--autostart'." "$program" --autostart
check 2 "" "vq-dbd: --autostart takes on or off, not 'maybe'." "$program" --autostart maybe

check 0 "No $entry: the clock does not start at login." "" "$program" --autostart off
check 0 "Wrote $entry: $program starts at login." "" "$program" --autostart on
report=$(desktop-file-validate "$entry" 2>&1) && [ -z "$report" ] || fail "desktop-file-validate: $report"
[ "$(sed -n 's/^Exec=//p' "$entry")" = "$program" ] || fail "the entry starts $(sed -n 's/^Exec=//p' "$entry")"
check 0 "Removed $entry: the clock no longer starts at login." "" "$program" --autostart=off
[ ! -e "$entry" ] || fail "the entry is still there"

# A copy under another name, found through PATH in a folder whose name needs quoting, is started by
# that path, so that it keeps its own settings.
copy="$work/my \$clocks/deskclock2"
cp "$program" "$copy"
check 2 "" "deskclock2: Unknown option 'bogus'." "$copy" --bogus
check 0 "Wrote $entry: $copy starts at login." "" env "PATH=$work/my \$clocks:$PATH" deskclock2 --autostart on
report=$(desktop-file-validate "$entry" 2>&1) && [ -z "$report" ] || fail "desktop-file-validate: $report"
expected="\"$work/my \\\\\$clocks/deskclock2\""
[ "$(sed -n 's/^Exec=//p' "$entry")" = "$expected" ] || fail "the entry has $(grep Exec= "$entry"), not Exec=$expected"
grep -qx "Icon=$APP_ID" "$entry" || fail "the entry names another icon"

# What cannot be done is said on standard error, with exit status 1, and changes nothing.
check 1 "" "nowhere-clock: cannot tell which file was started as 'nowhere-clock'; start the program by its path to set up the start at login" \
    bash -c 'exec -a nowhere-clock "$0" --autostart on' "$program"
rm -rf "$XDG_CONFIG_HOME/autostart"
touch "$XDG_CONFIG_HOME/autostart"
check 1 "" "vq-dbd: cannot write $entry: cannot make the folder $XDG_CONFIG_HOME/autostart" "$program" --autostart on
rm "$XDG_CONFIG_HOME/autostart"
mkdir -p "$entry/inside"
check 1 "" "vq-dbd: cannot remove $entry: it is a folder" "$program" --autostart off
[ -d "$entry/inside" ] || fail "the folder in the entry's place is gone"

# Qt's own options reach Qt: with them the clock runs (here on the offscreen platform) until SIGTERM.
"$program" -platform offscreen -style fusion -reverse 2>"$work/run-err" &
pid=$!
for _ in $(seq 1 200); do
    # SIGTERM (15) is caught once the clock is up.
    caught=$(sed -n 's/^SigCgt:\t//p' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$caught" ] && (((16#$caught >> 14) & 1)) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "with Qt's options the clock ended with status $status: $(cat "$work/run-err")"
echo "command line: help, version, errors, Qt options and autostart on and off behave, without a display"
