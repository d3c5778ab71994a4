#!/usr/bin/env bash
# Drives the built calculator in a real X server as a person would: taps on
# the face, typed keys, Copy read back from the clipboard, File > Exit from
# the keyboard, then a second run that types operators on a US and a French
# layout, walks the focus ring, and ends by SIGTERM. Both runs must leave
# their state in RPN.ini. Usage: window_e2e.sh path/to/rpn
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"
require_tools Xvfb xdotool xclip setxkbmap

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

# A tap at a face point: down and up at the same place.
tap() {
    xdotool mousemove --window "$window" "$1" $((face_top + $2)) click 1
}

keys() {
    xdotool key --delay 60 "$@"
}

# Copies X and prints it once the copy has reached the clipboard. The
# clipboard holds a marker first, so an earlier copy is never taken for it;
# the calculator takes the copy key after every key sent before it.
copied() {
    local held=waiting
    printf waiting | xclip -i -selection clipboard
    keys ctrl+c
    for _ in $(seq 50); do
        held=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
        [ "$held" != waiting ] && break
        sleep 0.1
    done
    echo "$held"
}

# Types the keys and checks X afterwards.
computes() {
    local what=$1 expected=$2
    shift 2
    keys "$@"
    check "$what" "$expected" "$(copied)"
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
# The main row's operators by what they type: Shift+8 multiplies on a US
# keyboard, and the French 6 key subtracts while its digits need Shift.
setxkbmap us
computes "US: 5 Return 3 * gives 15" "1.500000e+01" Escape 5 Return 3 asterisk
computes "US: / divides" "5.000000e+00" 3 slash
computes "US: + adds" "9.000000e+00" 4 plus
computes "US: - subtracts" "7.000000e+00" 2 minus
setxkbmap fr
computes "French: 1 2 Return 3 - gives 9" "9.000000e+00" Escape 1 2 Return 3 minus
computes "French: / divides" "3.000000e+00" 3 slash
computes "French: + adds" "7.000000e+00" 4 plus
computes "French: * multiplies" "1.400000e+01" 2 asterisk
computes "French: the point takes Shift" "1.650000e+01" 2 period 5 plus
setxkbmap us
# Tab puts the ring on the first key; along the bottom row across ENTER it
# reaches 0, which P presses.
computes "Tab, Down 4 times, Right twice, P presses 0" "7.000000e+01" \
    7 Tab Down Down Down Down Right Right p Return
computes "9 Return is taken before the signal" "9.000000e+00" 9 Return
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
