# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers of the settings-save fault tests; sourced by each test script.

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

# The keys the clock saves when it closes.
SAVED_KEYS="CLOCK-MAIN-Left CLOCK-MAIN-Top"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The window's stored place lies on no screen (a monitor since unplugged), so the clock opens at its
# default place and saves that on closing: the save always writes values other than the stored ones.
STORED_PLACE=-99000.5

# write_settings FILE BYTES [SLOTS]: a settings file of about BYTES bytes as QSettings writes one
# ([General], keys in order, values escaped and quoted its way), with SLOTS alarms (all ten unless
# told) holding names, times, messages and commands; the messages grow to reach the size. The
# alarms are switched off as a whole, so that none fires during a test.
write_settings() {
    local file=$1 bytes=$2 slots=${3:-10}
    local names=("Wake up" "Café break" "Stand-up meeting" "Lunch" "Take the pills" "Pick up the kids"
                 "Water the plants" "Call mum" "Backup" "Bedtime")
    local times=(06:45:00 10:30:00 09:15:00 12:30:00 13:00:00 15:20:00 18:00:00 19:30:00 21:00:00 22:45:00)
    local commands=(
        'paplay /usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga'
        "\"sh -c 'notify-send \\\"Coffee\\\"; paplay /usr/share/sounds/freedesktop/stereo/bell.oga'\""
        'xdg-open https://meet.example.org/daily-stand-up'
        ''
        'notify-send -u critical \"Pills\"'
        "\"sh -c 'espeak \\\"Time to go\\\" || true; sleep 2'\""
        ''
        'xdg-open tel:+441234567890'
        '/home/user/bin/backup-home --to /mnt/backup --quiet'
        'systemctl suspend'
    )
    local body message n k pad
    body=$(mktemp)
    {
        echo "AlwaysOnTop_TICKBOX=1"
        echo "CLOCK-MAIN-Height=1230"
        echo "CLOCK-MAIN-Left=$STORED_PLACE"
        echo "CLOCK-MAIN-Top=$STORED_PLACE"
        echo "CLOCK-MAIN-Width=3585"
        echo "CLOCK_BACKCOLOR=0"
        echo "CLOCK_FORECOLOR=65280"
        echo "ENABLE_ALARMS_TICKBOX=0"
        echo "MAIN-SETTINGS-Left=2400"
        echo "MAIN-SETTINGS-Top=3300"
        echo "COLORS-WINDOW-Left=2655"
        echo "COLORS-WINDOW-Top=3015"
        echo "ALARM-SETTINGS-Left=1800"
        echo "ALARM-SETTINGS-Top=1200"
        echo "ALARM-TEST-NOTIFICATION-MESSAGE-Left=4500"
        echo "ALARM-TEST-NOTIFICATION-MESSAGE-Top=3000"
        for ((n = 1; n <= slots; n++)); do
            echo "ALARM_${n}_TICKBOX=$((n % 3 != 0))"
            echo "ALARM_${n}_NAME_TEXTBOX=${names[n - 1]}"
            echo "ALARM_${n}_TIME_TEXTBOX=${times[n - 1]}"
            echo "ALARM_${n}_DISPLAY_MESSAGE_TICKBOX=1"
            echo "ALARM_${n}_RUN_COMMAND_TICKBOX=$([ -n "${commands[n - 1]}" ] && echo 1 || echo 0)"
            echo "ALARM_${n}_RUN_COMMAND_TEXTBOX=${commands[n - 1]}"
            echo "ALARM_${n}_MESSAGE_AUTO_CLOSE_TICKBOX=$((n % 2))"
            echo "RUN_HIDDEN_${n}_TICKBOX=$((n % 2))"
            echo "ALARM_${n}-NOTIFICATION-MESSAGE-Left=$((3000 + 150 * n))"
            echo "ALARM_${n}-NOTIFICATION-MESSAGE-Top=$((2000 + 90 * n))"
        done
    } >"$body"
    # What is left of the size goes to the messages, shared evenly; a comma makes QSettings quote.
    local sentences=("Stand up, stretch your back and drink a glass of water. "
                     "Save your work and close the programs you do not need. "
                     "Check the calendar for tomorrow; the meeting may have moved. "
                     "Look out of the window for a minute, away from the screen. "
                     "Bring the mug back to the kitchen and switch off the kettle. ")
    local fixed
    fixed=$(($(wc -c <"$body") + 10 + slots * 28))
    pad=$(((bytes - fixed) / slots))
    [ "$pad" -ge 12 ] || pad=12
    for ((n = 1; n <= slots; n++)); do
        message="${names[n - 1]}: "
        for ((k = n; ${#message} < pad; k++)); do
            message+=${sentences[k % ${#sentences[@]}]}
        done
        message=${message:0:pad}
        message=${message% }
        case $message in
        *[,\;=]*) message="\"$message\"" ;;
        esac
        echo "ALARM_${n}_MESSAGE_TEXTBOX=$message" >>"$body"
    done
    { echo "[General]"; LC_ALL=C sort "$body"; } >"$file"
    rm -f "$body"
    chmod 600 "$file"
}

# Waits until the program at pid $1 watches for SIGTERM and sleeps in its event loop.
wait_until_idle() {
    local pid=$1 mask
    for _ in $(seq 1 400); do
        mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null) || mask=
        if [ -n "$mask" ] && (((0x$mask >> 14) & 1)) && grep -q poll "/proc/$pid/wchan" 2>/dev/null; then
            sleep 0.2
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.025
    done
    return 1
}

# Whether process $1 has ended (a zombie not yet reaped counts as ended).
has_ended() {
    local state
    state=$(sed -n 's/^State:\s*\(.\).*/\1/p' "/proc/$1/status" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ] || [ "$state" = X ]
}

# Milliseconds since the epoch.
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Files the save left in settings folder $1 besides the settings file and its lock.
leftovers() {
    find "$1" -mindepth 1 -maxdepth 1 ! -name vq-dbd.conf ! -name vq-dbd.conf.lock -printf '%f ' | sed 's/ $//'
}

# Whether the program's standard error $1 reports the closing keys as not saved.
reports_unsaved_keys() {
    local line key
    line=$(grep '^vq-dbd: settings not saved:' "$1") || return 1
    for key in $SAVED_KEYS; do
        grep -qF "$key" <<<"$line" || return 1
    done
}

# The program's own lines on its standard error $1, on one line.
program_lines() {
    { grep '^vq-dbd:' "$1" || echo "(none)"; } | head -n 3 | paste -sd' '
}

# "old", "new" or "other (N bytes)": what settings file $1 holds against the old and new bytes.
outcome_of() {
    if cmp -s "$1" "$2"; then
        echo old
    elif cmp -s "$1" "$3"; then
        echo new
    elif [ -e "$1" ]; then
        echo "other ($(stat -c %s "$1") bytes)"
    else
        echo "missing"
    fi
}

# Runs the program once on settings folder $1 (XDG_CONFIG_HOME), closes it with SIGTERM and leaves
# the new settings file in $2: the bytes a save without faults writes.
learn_new_bytes() {
    local config=$1 out=$2 pid
    XDG_CONFIG_HOME=$config "$program" 2>"$out.stderr" &
    pid=$!
    wait_until_idle "$pid" || fail "the program did not come up (stderr: $(cat "$out.stderr"))"
    kill -TERM "$pid"
    wait "$pid" || fail "exit status $? after SIGTERM without faults"
    cp "$config/VQ_DBD/vq-dbd.conf" "$out"
}

# Checks that new settings file $2 holds the keys of old file $1 with the clock's new place.
check_new_bytes() {
    local old=$1 new=$2
    ! cmp -s "$old" "$new" || fail "the save on closing wrote the stored bytes again"
    [ "$(grep -c '=' "$new")" -eq "$(grep -c '=' "$old")" ] || fail "the save changed the number of keys"
    diff <(sed -n 's/=.*//p' "$old" | sort) <(sed -n 's/=.*//p' "$new" | sort) >/dev/null ||
        fail "the save changed the set of keys"
    for key in $SAVED_KEYS; do
        grep -q "^$key=[0-9]" "$new" || fail "no new $key in $(grep "^$key=" "$new")"
    done
}
