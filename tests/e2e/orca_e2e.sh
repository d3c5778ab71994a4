#!/usr/bin/env bash
# A calculation with the Orca screen reader, end to end: the built calculator
# in a real X server with a private session bus and the accessibility bus
# switched on, Orca with key echo off and the laptop keyboard layout, speech
# through speech-dispatcher into a file. Keys are typed and tapped with
# xdotool; what Orca spoke is read from its debug log, and an AT-SPI probe
# records the focus and description events of the same run.
# Usage: orca_e2e.sh path/to/rpn [path/to/atspi_probe.py]
# Exits 77 (skipped) when the screen-reader stack is not installed.
set -euo pipefail

program=$(realpath "$1")
probe=$(realpath "${2:-$(dirname "$0")/atspi_probe.py}")

skip() {
    echo "SKIPPED: $* (scripts/install-deps.sh installs it)"
    exit 77
}
for tool in Xvfb dbus-run-session gdbus xdotool orca speech-dispatcher espeak-ng; do
    command -v "$tool" >/dev/null || skip "missing $tool"
done
# The system's Python, which has the AT-SPI bindings, whatever else is on PATH.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || skip "missing python3-pyatspi"
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || skip "missing speech-dispatcher's generic module"

if [ -z "${RPN_ORCA_E2E_INSIDE:-}" ]; then
    export RPN_ORCA_E2E_INSIDE=1
    exec "$(dirname "$(realpath "$0")")/../../testsupport/with_xvfb.sh" dbus-run-session -- "$0" "$program" "$probe"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        for _ in $(seq 30); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# Everything Orca, speech-dispatcher and the calculator write stays here.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$work/orca" "$work/speech/modules"
chmod 700 "$XDG_RUNTIME_DIR"
log="$work/orca.log"
events="$work/events.tsv"
spoken="$work/spoken.txt"

# Speech without a sound device: libao's null driver for the audio check,
# and a generic module that writes each text to a file and synthesises it
# with espeak-ng into a WAV file.
echo "default_driver=null" >"$HOME/.libao"
cat >"$work/speech/speechd.conf" <<EOF
AudioOutputMethod "libao"
AddModule "espeak-ng-file" "sd_generic" "espeak-ng-file.conf"
DefaultModule espeak-ng-file
DefaultLanguage "en"
EOF
cat >"$work/speech/modules/espeak-ng-file.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $spoken; espeak-ng -v en -w $work/spoken.wav \\'\$DATA\\'"
GenericCmdDependency "espeak-ng"
AddVoice "en" "MALE1" "en"
EOF
speech-dispatcher -s -t 0 -C "$work/speech" -L "$work" >"$work/speech-dispatcher.out" 2>&1 &
pids+=($!)

# What a desktop does when a screen reader is to run: the accessibility bus
# is launched (on demand, by this call) and switched on before programs start.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null

# Key echo off, so that what is heard after a key is the calculator's.
cat >"$work/orca/user-settings.conf" <<EOF
{"general": {"enableKeyEcho": false, "enableEchoByCharacter": false, "enableEchoByWord": false,
             "enableSound": false, "keyboardLayout": 2},
 "pronunciations": {}, "keybindings": {},
 "profiles": {"default": {"profile": ["Default", "default"]}}}
EOF

# Orca writes its debug log through a buffer; its customization hook, run
# at start, makes that line by line, so the log can be read while it runs.
cat >"$work/orca/orca-customizations.py" <<EOF
import orca.debug
if orca.debug.debugFile:
    orca.debug.debugFile.flush()
    orca.debug.debugFile = open(orca.debug.debugFile.name, "a", buffering=1, encoding="utf-8")
EOF

failures=0
ok() { echo "ok: $1"; }
failed() {
    echo "FAILED: $1" >&2
    failures=$((failures + 1))
}

# Polls up to $2 seconds for a command to succeed.
wait_until() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

log_lines() { wc -l <"$log" 2>/dev/null || echo 0; }
# Speech that starts with $2, in the log after line $1.
spoken_after() { tail -n +$(($1 + 1)) "$log" 2>/dev/null | grep -qF "SPEECH OUTPUT: '$2"; }
spoken_between() { sed -n "$(($1 + 1)),$2p" "$log" | grep -cF "SPEECH OUTPUT: '$3" || true; }

"$program" >"$work/rpn.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kel's RPN$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
face_top=$((HEIGHT - 268))

"$python" "$probe" listen "$events" >"$work/probe.out" 2>&1 &
pids+=($!)
wait_until 10 grep -q ready "$work/probe.out" || failed "the AT-SPI probe started"

orca -u "$work/orca" --debug-file "$log" >"$work/orca.out" 2>&1 &
pids+=($!)
wait_until 30 grep -q "ORCA: Startup complete" "$log" || failed "Orca started"

start=$(log_lines)
xdotool windowfocus "$window"
# Should the window have kept the focus through Orca's start, it is given
# away and taken back, so that Orca sees it activated.
if ! wait_until 10 spoken_after "$start" "RPN calculator panel"; then
    xdotool windowfocus "$(xdotool search --maxdepth 0 --name '' | head -1)" windowfocus "$window" || true
fi
if wait_until 10 spoken_after "$start" "RPN calculator panel"; then
    ok "Orca announced the calculator when its window took the focus"
else
    failed "Orca announced the calculator when its window took the focus"
fi

starts=()
expected=()
names=()
# One step: run a command, then wait for Orca to speak what is expected.
step() {
    local what=$1 speech=$2
    shift 2
    local from
    from=$(log_lines)
    "$@"
    starts+=("$from")
    expected+=("$speech")
    names+=("$what")
    if wait_until 10 spoken_after "$from" "$speech"; then
        ok "$what: spoke '$speech'"
    else
        failed "$what: expected Orca to speak '$speech'"
    fi
}
key() { xdotool key --delay 80 "$@"; }
# A tap at a key's centre, in face pixels.
tap() { xdotool mousemove --window "$window" "$1" $((face_top + $2)) click 1; }
press() { timeout 20 "$python" "$probe" press "$1"; }

reading() { echo "$1, scientific 6, degrees"; }
step "digit 6" "$(reading 6)" key 6
step "Return" "$(reading "6.000000 times ten to the 0")" key Return
step "digit 7" "$(reading 7)" key 7
step "operator KP_Multiply" "$(reading "4.200000 times ten to the 1")" key KP_Multiply
step "a tap on SIN" "$(reading "6.691306 times ten to the minus 1")" tap 99 100
step "Tab shows the focus ring on the first key" "e to the x, shifted: natural logarithm push button" key Tab
step "Right moves the ring" "ten to the x, shifted: common logarithm push button" key Right
step "P presses the focused key" "$(reading "4.667997 times ten to the 0")" key p
step "the accessible action of CHS" "$(reading "minus 4.667997 times ten to the 0")" press "change sign, shifted: roll up"
step "digit 0" "$(reading 0)" key 0
step "the ring to 1/x" "reciprocal, shifted: y to the x push button" key Right Right Right Right
step "an error" "$(reading "error: infinity")" key p
step "a typed minus, Shift+8 and a typed plus" "$(reading "1.000000 times ten to the 0")" \
    key 2 Return 3 minus 4 asterisk 5 plus
step "the STO menu reads its register in words" "store in register 0: 0.000000 times ten to the 0" key alt+s
step "a store through the menu says what it did" "stored in register 0, $(reading "1.000000 times ten to the 0")" \
    key Return
step "F then 5 selects radians" "$(reading "1.000000 times ten to the 0"), F pending" key f
step "radians" "1.000000 times ten to the 0, scientific 6, radians" key 5

# Each thing was said once: one utterance in the stretch of log after its key.
end=$(log_lines)
for index in "${!starts[@]}"; do
    next=$end
    [ $((index + 1)) -lt ${#starts[@]} ] && next=${starts[$((index + 1))]}
    count=$(spoken_between "${starts[$index]}" "$next" "${expected[$index]}")
    [ "$count" -le 1 ] || failed "${names[$index]}: spoken $count times"
done

# The words, never the abbreviations that synthesisers read badly.
abbreviated=$(grep -F "SPEECH OUTPUT" "$log" | grep -Ew "SCI|DEG|RAD|FIX|ENG|GRD|NaN|Inf|STO|RCL" || true)
if [ -z "$abbreviated" ]; then
    ok "no abbreviation was spoken"
else
    failed "abbreviations were spoken: $abbreviated"
fi

# Braille shows it too (Orca logs its braille line with no display attached).
if grep -qF "BRAILLE LINE:  '$(reading "4.200000 times ten to the 1")'" "$log"; then
    ok "braille showed the product"
else
    failed "braille showed the product"
fi

state=$(timeout 20 "$python" "$probe" state || true)
check_line() {
    if grep -qxF "$2" <<<"$3"; then ok "$1"; else failed "$1: no line '$2'"; fi
}
check_line "AT-SPI: the focused object is the key under the ring" "$(printf 'focus\tpush button\treciprocal, shifted: y to the x')" "$state"
check_line "AT-SPI: the display reads in words" "$(printf 'display\t1.000000 times ten to the 0, scientific 6, radians')" "$state"

recorded=$(cat "$events" 2>/dev/null || true)
check_line "AT-SPI: moving the ring focuses a focusable key" \
    "$(printf 'focus\tpush button\tsine, shifted: inverse sine\tfocused,focusable')" "$recorded"
check_line "AT-SPI: the product is the panel's new description" \
    "$(printf 'description\tpanel\tRPN calculator\t%s' "$(reading "4.200000 times ten to the 1")")" "$recorded"
check_line "AT-SPI: a key pressed under the ring changes the focused key's description" \
    "$(printf 'description\tpush button\treciprocal, shifted: y to the x\t%s' "$(reading "error: infinity")")" "$recorded"
if grep -q "not text" <<<"$recorded"; then
    failed "AT-SPI: a description change carried something other than text"
else
    ok "AT-SPI: every description change carried its text"
fi
if [ -s "$spoken" ]; then
    ok "speech-dispatcher synthesised $(wc -l <"$spoken") utterances"
else
    failed "speech-dispatcher synthesised nothing"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- what Orca spoke:" >&2
    grep -F "SPEECH OUTPUT" "$log" | sed 's/^[0-9:.]* - //' | cut -c1-120 >&2 || true
    echo "--- AT-SPI events:" >&2
    cat "$events" >&2 || true
    echo "--- state:" >&2
    echo "$state" >&2
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
