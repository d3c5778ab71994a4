#!/usr/bin/env bash
# Drives the built calculator in a real X server as a person would: taps on
# the face, typed keys, Copy read back from the clipboard, File > Exit from
# the keyboard, then a second run ended by SIGTERM. Both runs must leave
# their state in RPN.ini. Usage: window_e2e.sh path/to/rpn
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"
require_tools Xvfb xdotool xclip

rerun_under_xvfb 640x480x24 "$program"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
private_session "$work"

setting() {
    sed -n "s/^$1=//p" "$ini" | tr -d '"'
}

start() {
    "$program" >"$work/rpn.log" 2>&1 &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kel's RPN$" | head -1)
    xdotool windowfocus --sync "$window"
    # The face fills the bottom of the window, under the menu and command bars.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    face_top=$((HEIGHT - 268))
}

# A tap at a face point: down and up at the same place, then a moment for
# the repaint.
tap() {
    xdotool mousemove --window "$window" "$1" $((face_top + $2)) click 1
    sleep 0.2
}

keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

copied() {
    keys ctrl+c
    timeout 5 xclip -o -selection clipboard
}


start
# 7 ENTER 3 + on the face, at the centres of their keys.
tap 99 137
tap 60 230
tap 177 211
tap 216 248
check "taps computed 7 + 3" "1.000000e+01" "$(copied)"
# Pad 5, pad +: 15.
keys KP_5 KP_Add
check "typed keys computed 10 + 5" "1.500000e+01" "$(copied)"
keys alt+f
keys x
wait_for_exit
check "File, Exit ends the program normally" "0" "$exit_status"
check "RPN.ini holds X after Exit" "1.500000e+01" "$(setting RegX)"
check "RPN.ini holds LAST X after Exit" "5.000000e+00" "$(setting RegLstX)"

start
check "the second run starts where the first ended" "1.500000e+01" "$(copied)"
keys 9 Return
kill -TERM "$pid"
wait_for_exit
check "SIGTERM ends the program normally" "0" "$exit_status"
check "RPN.ini holds X after SIGTERM" "9.000000e+00" "$(setting RegX)"
check "RPN.ini holds Y after SIGTERM" "9.000000e+00" "$(setting RegY)"

if [ "$failures" -ne 0 ]; then
    echo "--- rpn output" >&2
    cat "$work/rpn.log" >&2
    exit 1
fi
echo "window end-to-end: all checks passed"
