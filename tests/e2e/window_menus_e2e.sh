#!/usr/bin/env bash
# The built calculator in a real X server, as a person at the keyboard uses
# it: typed keys reach the face again as soon as a menu is closed with
# Escape, a message box opens over the window and not in the middle of the
# screen, the window's place and size survive a restart, and with Audible
# Clicks on every tap is heard (through a private sound server, recorded from
# its null sink) while typed keys are not. Exits 77 after the other checks
# when the sound server's tools are missing.
# Usage: window_menus_e2e.sh path/to/rpn
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"
require_tools Xvfb xdotool xclip

rerun_under_xvfb 1600x1200x24 "$program"

work=$(mktemp -d)
helpers=()
cleanup() {
    if [ ${#helpers[@]} -gt 0 ]; then
        kill "${helpers[@]}" 2>/dev/null || true
        wait "${helpers[@]}" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
private_session "$work"
mkdir -p "$XDG_CONFIG_HOME/Local AppWizard-Generated Applications"

# Retries a command for up to ten seconds until it succeeds.
wait_until() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

windows() {
    xdotool search --onlyvisible --name "^Kel's RPN$" 2>/dev/null || true
}

start() {
    "$program" >>"$work/rpn.log" 2>&1 &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kel's RPN$" | head -1)
    xdotool windowfocus --sync "$window"
}

geometry() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# The number the calculator shows, by Copy; the clipboard is emptied first
# so that an old copy never passes for a new one.
copied() {
    printf '' | xclip -selection clipboard -i
    xdotool key ctrl+c
    wait_until sh -c 'test -n "$(timeout 2 xclip -o -selection clipboard 2>/dev/null)"' || true
    timeout 2 xclip -o -selection clipboard 2>/dev/null || true
}

stop() {
    kill -TERM "$pid"
    wait "$pid" || true
}

# A window placed well off the screen's middle, so that a box centred on the
# screen and one centred on the window are far apart.
cat >"$ini" <<'INI'
[Window%20Placement]
Left=100
Top=650
Width=300
Height=400
INI

start
read -r x y width height < <(geometry "$window")
check "the stored place and size come back" "100 650 300 400" "$x $y $width $height"

# After Escape closes a menu the next keys are the calculator's: 5 is not
# lost, E is EEX (not the Edit menu).
shown_windows() {
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l
}
before=$(shown_windows)
xdotool key alt+f
wait_until sh -c "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -gt $before ]" ||
    echo "note: no menu window seen after Alt+F" >&2
xdotool key Escape
wait_until sh -c "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -eq $before ]" || true
xdotool key --delay 80 5 e 2 Return
check "keys after Escape reach the face" "5.000000e+02" "$(copied)"

# Paste with no text on the clipboard shows its box over the window.
xclip -selection clipboard -t image/png -i /dev/null 2>/dev/null || printf '' | xclip -selection clipboard -i
xdotool key ctrl+v
box=""
find_box() {
    box=$(windows | grep -vx "$window" | head -1)
    [ -n "$box" ]
}
if wait_until find_box; then
    read -r bx by bw bh < <(geometry "$box")
    box_centre_x=$((bx + bw / 2)) box_centre_y=$((by + bh / 2))
    main_centre_x=$((x + width / 2)) main_centre_y=$((y + height / 2))
    dx=$((box_centre_x - main_centre_x)) dy=$((box_centre_y - main_centre_y))
    check "the message box is centred over the window" "yes" \
        "$([ "${dx#-}" -le 40 ] && [ "${dy#-}" -le 40 ] && echo yes || echo "no: box at $bx,$by ${bw}x$bh")"
    xdotool windowfocus --sync "$box" key Return
    wait_until sh -c "! xdotool search --onlyvisible --name \"^Kel's RPN\$\" | grep -qx $box" || true
else
    check "Paste without text shows a message box" "a box" "none"
fi

# A new place and size, kept through Exit and a restart.
xdotool windowmove --sync "$window" 420 200 windowsize --sync "$window" 360 500
wait_until sh -c "xdotool getwindowgeometry --shell $window | grep -qx WIDTH=360"
xdotool windowfocus --sync "$window" key --delay 80 alt+f x
wait_until sh -c "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid"
wait "$pid" || true
placement() {
    sed -n "/^\[Window%20Placement\]/,/^\[/s/^$1=//p" "$ini"
}
check "the place is written in its own section" "420 200 360 500" \
    "$(placement Left) $(placement Top) $(placement Width) $(placement Height)"
check "the calculator's section holds no place" "" "$(sed -n '/^\[KelRPN8\]/,/^\[/p' "$ini" | grep -E '^(Left|Top|Width|Height)=' || true)"
start
read -r x y width height < <(geometry "$window")
check "the new place and size come back" "420 200 360 500" "$x $y $width $height"
stop

# The clicks. A private sound server with one null sink, recorded from its
# monitor at the sink's own rate. A stream of silence keeps the sink running,
# so that the recording follows the clock from its first moment rather than
# from the first sound.
missing_sound=""
for tool in pulseaudio pactl pacat parec python3; do
    command -v "$tool" >/dev/null || missing_sound+=" $tool"
done
if [ -z "$missing_sound" ]; then
    export PULSE_SERVER="unix:$work/pulse.socket"
    HOME="$work" pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
        --load="module-null-sink sink_name=clicks rate=44100 channels=1" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse.socket" >"$work/pulse.log" 2>&1 &
    helpers+=($!)
    wait_until pactl info >/dev/null 2>&1 || { cat "$work/pulse.log" >&2; exit 1; }
    sound=(--format=s16le --rate=44100 --channels=1 --latency-msec=20 --raw)
    pacat "${sound[@]}" /dev/zero 2>>"$work/pulse.log" &
    helpers+=($!)
    recording="$work/clicks.raw"
    parec "${sound[@]}" --device=clicks.monitor >"$recording" 2>>"$work/pulse.log" &
    helpers+=($!)
    # Waits until the recording holds half a second (44100 bytes) more than
    # it did when called, so that the click of anything done before is in it.
    settle() {
        local target=$(($(stat -c %s "$recording") + 44100))
        wait_until sh -c "[ \$(stat -c %s '$recording') -ge $target ]"
    }
    settle || { echo "the recording did not start" >&2; cat "$work/pulse.log" >&2; exit 1; }
    # The clicks recorded so far: runs of 10 ms blocks louder than 1/16 of
    # full scale (a click peaks near 0.8, the silence is exact zeros), each
    # after 30 ms of quiet.
    clicks() {
        python3 - "$recording" <<'PY'
import array, sys
data = open(sys.argv[1], "rb").read()
samples = array.array("h", data[: len(data) // 2 * 2])
count, quiet = 0, 3
for start in range(0, len(samples), 441):
    block = samples[start : start + 441]
    if max(block) > 2048 or min(block) < -2048:
        count += quiet >= 3
        quiet = 0
    else:
        quiet += 1
print(count)
PY
    }
    taps() {
        xdotool mousemove --window "$window" "$1" $((face_top + $2)) click --repeat "$3" --delay 250 1
    }

    # A fresh start at the natural size, where the face is drawn 1:1 at the
    # bottom of the window. From here on the program should print nothing (a
    # sanitizer build's leak checker keeps its list of known library leaks
    # to itself).
    rm -f "$ini"
    : >"$work/rpn.log"
    export LSAN_OPTIONS="${LSAN_OPTIONS:-}:print_suppressions=0"
    start
    eval "$(xdotool getwindowgeometry --shell "$window")"
    face_top=$((HEIGHT - 268))
    taps 99 211 2
    before=$(shown_windows)
    xdotool key alt+f
    wait_until sh -c "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -gt $before ]" || true
    xdotool key a
    wait_until sh -c "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -eq $before ]" || true
    xdotool key --delay 150 Return Return Return
    settle || true
    check "taps with clicks off and typed keys make no click" "0" "$(clicks)"
    taps 216 248 10
    check "the taps were taken: 11 + 11 + 11 + ... eleven times" "1.210000e+02" "$(copied)"
    settle || true
    check "ten taps with clicks on are ten clicks in the recording" "10" "$(clicks)"
    stop
    check "Audible Clicks is saved on" "1" "$(sed -n 's/^bAudibleClicks=//p' "$ini")"

    # Without a sound server the taps still count, in silence.
    export PULSE_SERVER="unix:$work/no-server"
    start
    xdotool key --delay 80 2 Return Return Return
    taps 216 248 3
    check "taps without a sound server are taken" "8.000000e+00" "$(copied)"
    stop
    check "clicks, heard or not, print nothing" "" "$(cat "$work/rpn.log")"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- rpn output" >&2
    cat "$work/rpn.log" >&2
    exit 1
fi
if [ -n "$missing_sound" ]; then
    echo "window menus end-to-end: clicks not checked, missing$missing_sound (scripts/install-deps.sh installs them)" >&2
    exit 77
fi
echo "window menus end-to-end: all checks passed"
