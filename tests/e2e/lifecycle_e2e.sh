#!/usr/bin/env bash
# How the built calculator ends and starts, in real X servers: each
# termination signal at each modal box and dialog (the state is saved and
# the process is gone within a second), the X server and the Wayland
# compositor killed under the window, a second start with and without a file
# and with the desktop's startup id or activation token, storms of starts,
# idle connections, a socket left by a killed calculator, a hung one, no
# runtime directory, and the options answered without a display.
# Usage: lifecycle_e2e.sh path/to/rpn path/to/rpn-cli
set -euo pipefail

program=$(realpath "$1")
cli=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"
require_tools Xvfb xdotool xclip

work=${RPN_E2E_WORK:-$(mktemp -d)}
private_session "$work"

if [ -z "${RPN_E2E_INSIDE_X:-}" ]; then
    trap 'rm -rf "$work"' EXIT
    # The options, with no display at all and nothing written; a mistyped
    # one is refused with the usage on standard error.
    for option in --help -h --version --verison -x; do
        status=0
        env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$option" >"$work/out" 2>"$work/err" || status=$?
        case $option in
        --version) check "rpn $option prints the version" "rpn " "$(head -c 4 "$work/out")" ;;
        -h | --help) check "rpn $option prints the usage" "Usage: rpn [FILE]" "$(head -1 "$work/out")" ;;
        *)
            check "rpn $option exits 2" 2 "$status"
            check "rpn $option names the option on standard error" "rpn: unknown option '$option'" "$(head -1 "$work/err")"
            check "rpn $option prints the usage on standard error" "Usage: rpn [FILE]" "$(sed -n 2p "$work/err")"
            check "rpn $option prints nothing on standard output" "" "$(cat "$work/out")"
            continue
            ;;
        esac
        check "rpn $option exits 0 without a display" 0 "$status"
        check "rpn $option prints nothing on standard error" "" "$(cat "$work/err")"
    done
    check "the options write no settings and claim no socket" "" \
        "$(ls -A "$XDG_RUNTIME_DIR"; [ -e "$XDG_CONFIG_HOME" ] && echo "$XDG_CONFIG_HOME exists")"
    status=0
    RPN_E2E_INSIDE_X=1 RPN_E2E_WORK="$work" "$testsupport/with_xvfb.sh" "$0" "$program" "$cli" ||
        status=$?
    [ "$failures" -eq 0 ] && [ "$status" -eq 0 ] && echo "lifecycle end-to-end: all checks passed"
    [ "$failures" -eq 0 ] && exit "$status"
    exit 1
fi
pids=()
cleanup() {
    for each in "${pids[@]}"; do kill -KILL "$each" 2>/dev/null || true; done
}
trap cleanup EXIT

setting() {
    [ -f "$ini" ] && sed -n "s/^$1=//p" "$ini" | tr -d '"'
}

# Starts the calculator; sets pid and window. Arguments go to the program.
start() {
    "$program" "$@" >>"$work/rpn.log" 2>&1 &
    pid=$!
    pids+=("$pid")
}

# Waits until the program shows at least n windows (the main window and the
# boxes over it); sets window to the newest.
wait_windows() {
    local n=$1 found
    for _ in $(seq 400); do
        found=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true)
        if [ "$(echo -n "$found" | grep -c .)" -ge "$n" ]; then
            window=$(echo "$found" | tail -1)
            return 0
        fi
        sleep 0.05
    done
    echo "FAILED: no $n windows of $pid ($(kill -0 "$pid" 2>/dev/null && echo running || echo ended)) at line ${BASH_LINENO[0]}" >&2
    failures=$((failures + 1))
    return 1
}

start_window() {
    start "$@"
    wait_windows 1
    xdotool windowfocus --sync "$window"
}

keys() {
    xdotool key --delay 40 "$@"
}

# Waits up to a second (or the tenths given) for the program to end; sets
# exit_status to its status, or "still running" (and then kills it). The end
# itself is waited for; a watchdog kills the program at the limit.
wait_gone() {
    local tenths=${1:-10} watchdog
    (sleep "$((tenths / 10)).$((tenths % 10))" && kill -KILL "$pid") 2>/dev/null &
    watchdog=$!
    exit_status=0
    wait "$pid" 2>/dev/null || exit_status=$?
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
    [ "$exit_status" != 137 ] || exit_status="still running"
}

copied() {
    xdotool windowfocus --sync "$1"
    keys ctrl+c
    timeout 5 xclip -o -selection clipboard
}

# Waits up to ten seconds (or the seconds given) for a line matching the
# pattern to be written to the file; tail follows the file as it grows.
wait_for_line() {
    grep -q -m1 -- "$1" < <(timeout "${3:-10}" tail -n +1 -F "$2" 2>/dev/null)
}

# How many processes show a calculator's main window.
calculators() {
    for each in $(xdotool search --onlyvisible --name "^Kel's RPN$" 2>/dev/null); do
        xdotool getwindowpid "$each"
    done | sort -u | grep -c . || true
}

# Waits for the starts given to end, all but KEEP of them (the calculator
# they leave, if any, as survivor). Each end is waited for as it comes; a
# watchdog kills them all after twenty seconds, so a start that stays on as a
# second calculator fails the count instead of hanging the test. Sets handed
# to how many ended with status 0.
#   wait_starts KEEP PID...
wait_starts() {
    local keep=$1 each status watchdog still
    shift
    local left=("$@")
    (sleep 20 && kill -KILL "$@") 2>/dev/null &
    watchdog=$!
    handed=0
    while [ "${#left[@]}" -gt "$keep" ]; do
        # Returns when one more has ended; the shell keeps each status.
        wait -n "${left[@]}" 2>/dev/null || true
        still=()
        for each in "${left[@]}"; do
            if kill -0 "$each" 2>/dev/null; then
                still+=("$each")
                continue
            fi
            status=0
            wait "$each" 2>/dev/null || status=$?
            [ "$status" != 0 ] || handed=$((handed + 1))
        done
        left=("${still[@]}")
    done
    survivor=${left[0]:-}
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
}

# Each signal at each box: the keys typed before the box are in RPN.ini.
boxes=(startup-error about load-state open save-state load-error)
number=10
for signal in TERM INT HUP; do
    for box in "${boxes[@]}"; do
        number=$((number + 1))
        rm -f "$ini"
        if [ "$box" = startup-error ]; then
            expected=$(printf '%.6e' 0)
            start "$work/missing-$number.rpn"
            wait_windows 1
        else
            expected=$(printf '%.6e' "$number")
            start_window
            keys $(echo "$number" | sed 's/./& /g') Return
            case $box in
            about) keys alt+h a ;;
            load-state) keys alt+f l ;;
            open) keys ctrl+o ;;
            save-state) keys alt+f s ;;
            load-error)
                keys alt+f l
                wait_windows 2
                xdotool type --delay 10 "$work/missing-$number.rpn"
                keys Return
                ;;
            esac
            wait_windows 2
        fi
        kill -"$signal" "$pid"
        wait_gone
        check "SIG$signal at the $box box ends the program at once" 0 "$exit_status"
        check "SIG$signal at the $box box saved X" "$expected" "$(setting RegX)"
        [ "$box" = startup-error ] &&
            check "SIG$signal at the start-up box lists no file" 0 "$(grep -c "missing-$number" "$ini" || true)"
    done
done

# The X server killed under the window: the state is still saved, once.
rm -f "$ini"
mkfifo "$work/display"
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
xserver=$!
pids+=("$xserver")
number=""
read -r -t 30 number <"$work/display" || true
outer_display=$DISPLAY
export DISPLAY=":$number"
start_window
keys 4 2 Return 7
# The copy's round trip shows the keys have been taken.
check "the keys reached the calculator" "$(printf '%.6e' 7)" "$(copied "$window")"
kill -KILL "$xserver"
# Losing the display is no request to close: the time it takes to notice
# is the library's, so it is given longer.
wait_gone 50
wait "$xserver" 2>/dev/null || true
export DISPLAY=$outer_display
check "the program ends when its X server dies" 1 "$exit_status"
check "the number being keyed in when the X server died is saved" "7" "$(setting Integer)"
check "the stack before it is saved" "$(printf '%.6e' 42)" "$(setting RegY)"

# The Wayland compositor killed under the window: Qt's plugin then ends the
# process with _exit(), past every atexit hook; the state is saved all the same.
plugin_dir=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if ! command -v weston >/dev/null || ! ls "$plugin_dir"/platforms/libqwayland-generic.so >/dev/null 2>&1; then
    echo "skipped: the Wayland compositor case needs weston and qt6-wayland"
else
    rm -f "$ini"
    weston --backend=headless-backend.so --socket=rpn-e2e-wayland --idle-time=0 >"$work/weston.log" 2>&1 &
    compositor=$!
    pids+=("$compositor")
    for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/rpn-e2e-wayland" ] && break; sleep 0.05; done
fi
if [ -z "${compositor:-}" ]; then
    :
elif [ ! -S "$XDG_RUNTIME_DIR/rpn-e2e-wayland" ]; then
    echo "skipped: weston did not start here:" && cat "$work/weston.log"
else
    WAYLAND_DISPLAY=rpn-e2e-wayland QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$program" 2>"$work/wayland.log" &
    pid=$!
    pids+=("$pid")
    wait_for_line 'wl_surface@[0-9]*\.attach' "$work/wayland.log" || true
    # A second start's activation token goes to the compositor with the
    # request to come to the front, where the compositor offers activation.
    status=0
    XDG_ACTIVATION_TOKEN=rpn-e2e-token timeout 10 "$program" || status=$?
    check "a second start beside a Wayland calculator exits 0" 0 "$status"
    if grep -q '"xdg_activation_v1"' "$work/wayland.log"; then
        status=0
        wait_for_line 'xdg_activation_v1@[0-9]*\.activate("rpn-e2e-token"' "$work/wayland.log" || status=$?
        check "the second start's token is used to come to the front" 0 "$status"
    else
        echo "skipped: this compositor offers no xdg-activation, so no token can be used"
    fi
    kill -KILL "$compositor"
    wait "$compositor" 2>/dev/null || true
    wait_gone 50
    check "the program ends when its compositor dies" 1 "$exit_status"
    check "the state is saved when the compositor dies" "$(printf '%.6e' 0)" "$(setting RegX)"
    [ -n "$(setting RegX)" ] || grep -v "^\[" "$work/wayland.log" >&2
fi

# A second start hands its file to the running calculator and ends.
socket="$XDG_RUNTIME_DIR/io.github.rpn_calculator.rpn.socket"
mkdir -p "$work/files"
(cd "$work/files" && "$cli" --save state.rpn 1 2 3 ENTER >/dev/null)
(cd "$work/files" && "$cli" --save ./-dash.rpn 4 5 ENTER >/dev/null)
start_window
first=$pid
first_window=$window
first_socket=$(stat -c %i "$socket")
keys 5 Return
status=0
(cd "$work/files" && timeout 5 "$program" state.rpn) || status=$?
check "a second start with a (relative) file name exits 0" 0 "$status"
check "the running calculator shows the file's state" "$(printf '%.6e' 123)" "$(copied "$first_window")"
status=0
timeout 5 "$program" || status=$?
check "a second start without a file exits 0" 0 "$status"
check "one calculator remains" "1" "$(calculators)"
check "the first calculator still runs" 0 "$(kill -0 "$first" && echo 0)"

# A file whose name starts with '-' comes after "--", or as ./-name.
status=0
(cd "$work/files" && timeout 5 "$program" -- -dash.rpn) || status=$?
check "rpn -- -dash.rpn exits 0" 0 "$status"
check "and the calculator shows that file's state" "$(printf '%.6e' 45)" "$(copied "$first_window")"
keys 7 Return
status=0
(cd "$work/files" && timeout 5 "$program" ./-dash.rpn) || status=$?
check "rpn ./-dash.rpn opens it too" "0 $(printf '%.6e' 45)" "$status $(copied "$first_window")"

# The desktop's startup id comes with a second start: the window takes it,
# and the end of the launch feedback goes to the root window.
stdbuf -oL xev -root -event property >"$work/xev.log" 2>&1 &
xev=$!
pids+=("$xev")
# Listening once it reports a change made after it started.
for attempt in $(seq 50); do
    xprop -root -f _RPN_E2E_PROBE 8s -set _RPN_E2E_PROBE "$attempt"
    if wait_for_line _RPN_E2E_PROBE "$work/xev.log" 0.2; then break; fi
done
status=0
DESKTOP_STARTUP_ID=rpn-e2e-launch_TIME0 timeout 5 "$program" || status=$?
check "a second start with a startup id exits 0" 0 "$status"
status=0
wait_for_line '_NET_STARTUP_INFO_BEGIN' "$work/xev.log" || status=$?
check "the end of its launch feedback reaches the root window" 0 "$status"
check "the window carries the start's id" '_NET_STARTUP_ID(UTF8_STRING) = "rpn-e2e-launch_TIME0"' \
    "$(xprop -id "$first_window" _NET_STARTUP_ID)"
kill "$xev"

# Connections that say nothing, more than the calculator keeps, hold no
# start up.
coproc idle {
    python3 -c 'import socket, sys
held = [socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET) for _ in range(40)]
for each in held:
    each.connect(sys.argv[1])
print("connected", flush=True)
sys.stdin.read()' "$socket"
}
idle_pid=$idle_PID
pids+=("$idle_pid")
connected=""
read -r -t 10 -u "${idle[0]}" connected || true
check "forty idle connections are open" connected "$connected"
status=0
timeout 10 "$program" "$work/files/state.rpn" || status=$?
check "a start beside them hands its file over" "0 $(printf '%.6e' 123)" "$status $(copied "$first_window")"
kill "$idle_pid" 2>/dev/null || true

# Sixteen starts at once, as when a file manager opens several files
# together: each file reaches the one calculator (here each missing, so each
# brings up its own "File Error" box).
storm=()
for index in $(seq 16); do
    "$program" "$work/storm-$index.rpn" >>"$work/rpn.log" 2>&1 &
    storm+=("$!")
done
wait_starts 0 "${storm[@]}"
check "sixteen starts at once with a calculator running all hand over" 16 "$handed"
pid=$first
wait_windows 17
check "one calculator remains after the storm" 1 "$(calculators)"
check "the socket is still the first calculator's" "$first_socket" "$(stat -c %i "$socket")"
kill -TERM "$first"
wait_gone 20
check "SIGTERM ends it with sixteen boxes open" 0 "$exit_status"

# Killed outright, it leaves its socket; the next start takes it over.
start_window
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
check "a killed calculator leaves its socket" yes "$([ -S "$socket" ] && echo yes)"
begin=$(date +%s%N)
start_window
check "the start after a killed calculator comes up" yes "$(kill -0 "$pid" && echo yes)"
echo "start-up over a stale socket: $((($(date +%s%N) - begin) / 1000000)) ms"
status=0
timeout 5 "$program" || status=$?
check "and answers the start after it" 0 "$status"

# Sixteen starts at once with no calculator running leave exactly one.
kill -TERM "$pid"
wait_gone
storm=()
for index in $(seq 16); do
    "$program" >>"$work/rpn.log" 2>&1 &
    storm+=("$!")
    pids+=("$!")
done
wait_starts 1 "${storm[@]}"
check "sixteen starts at once: fifteen hand over" 15 "$handed"
pid=$survivor
wait_windows 1
check "and one is the calculator" 1 "$(calculators)"

# A hung calculator: a start says it gets no answer and ends with status 1,
# and the calculator keeps its socket.
hung=$pid
hung_socket=$(stat -c %i "$socket")
kill -STOP "$hung"
begin=$(date +%s%N)
status=0
timeout 20 "$program" 2>"$work/err" || status=$?
waited=$((($(date +%s%N) - begin) / 1000000))
echo "a start beside a hung calculator gave up after $waited ms"
check "a start beside a hung calculator ends with status 1" 1 "$status"
check "and says why" "rpn: a calculator is already running but does not answer" "$(cat "$work/err")"
check "it waits no more than six seconds" yes "$([ "$waited" -lt 6000 ] && echo yes)"
check "the hung calculator keeps its socket" "$hung_socket" "$(stat -c %i "$socket")"
check "no second calculator comes up" 1 "$(calculators)"
kill -CONT "$hung"
status=0
timeout 5 "$program" || status=$?
check "going again, it answers the next start" 0 "$status"
kill -TERM "$hung"
wait_gone

# Without a runtime directory, the lock and the socket live in a private
# folder under the state directory, which no other user can make first.
runtime=$XDG_RUNTIME_DIR
unset XDG_RUNTIME_DIR
export HOME="$work/home"
mkdir -p "$HOME"
start_window
state_folder="$HOME/.local/state/rpn"
check "without a runtime directory the socket is in the state folder" yes \
    "$([ -S "$state_folder/io.github.rpn_calculator.rpn.socket" ] && echo yes)"
check "which is the user's alone" 700 "$(stat -c %a "$state_folder")"
status=0
timeout 5 "$program" "$work/files/state.rpn" || status=$?
check "a second start there hands its file over" "0 $(printf '%.6e' 123)" "$status $(copied "$window")"
check "one calculator there" 1 "$(calculators)"
kill -TERM "$pid"
wait_gone
export XDG_RUNTIME_DIR=$runtime

if [ "$failures" -ne 0 ]; then
    echo "--- rpn output" >&2
    cat "$work/rpn.log" >&2
    exit 1
fi
