#!/usr/bin/env bash
# How the built calculator ends and starts, in real X servers: each
# termination signal at each modal box and dialog (the state is saved and
# the process is gone within a second), the X server killed under the window,
# a second start with and without a file, a socket left by a killed
# calculator, a hung one, and the options answered without a display.
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
    # The options, with no display at all and nothing written.
    for option in --help -h --version; do
        status=0
        env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$option" >"$work/out" 2>"$work/err" || status=$?
        check "rpn $option exits 0 without a display" 0 "$status"
        case $option in
        --version) check "rpn $option prints the version" "rpn " "$(head -c 4 "$work/out")" ;;
        *) check "rpn $option prints the usage" "Usage: rpn [FILE]" "$(head -1 "$work/out")" ;;
        esac
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
# exit_status to its status, or "still running" (and then kills it).
wait_gone() {
    exit_status=0
    for _ in $(seq $((${1:-10} * 2))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
        exit_status="still running"
        kill -KILL "$pid"
    fi
    if [ "$exit_status" = 0 ]; then
        wait "$pid" 2>/dev/null || exit_status=$?
    else
        wait "$pid" 2>/dev/null || true
    fi
}

copied() {
    xdotool windowfocus --sync "$1"
    keys ctrl+c
    timeout 5 xclip -o -selection clipboard
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
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xserver=$!
pids+=("$xserver")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
outer_display=$DISPLAY
export DISPLAY=":$(cat "$work/display")"
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
    for _ in $(seq 200); do grep -q 'wl_surface@[0-9]*\.attach' "$work/wayland.log" && break; sleep 0.05; done
    kill -KILL "$compositor"
    wait "$compositor" 2>/dev/null || true
    wait_gone 50
    check "the program ends when its compositor dies" 1 "$exit_status"
    check "the state is saved when the compositor dies" "$(printf '%.6e' 0)" "$(setting RegX)"
    [ -n "$(setting RegX)" ] || grep -v "^\[" "$work/wayland.log" >&2
fi

# A second start hands its file to the running calculator and ends.
mkdir -p "$work/files"
(cd "$work/files" && "$cli" --save state.rpn 1 2 3 ENTER >/dev/null)
start_window
first=$pid
first_window=$window
keys 5 Return
status=0
(cd "$work/files" && timeout 5 "$program" state.rpn) || status=$?
check "a second start with a (relative) file name exits 0" 0 "$status"
check "the running calculator shows the file's state" "$(printf '%.6e' 123)" "$(copied "$first_window")"
status=0
timeout 5 "$program" || status=$?
check "a second start without a file exits 0" 0 "$status"
check "one calculator remains" "1" "$(xdotool search --onlyvisible --name "^Kel's RPN$" | grep -c .)"
check "the first calculator still runs" 0 "$(kill -0 "$first" && echo 0)"

# Killed outright, it leaves its socket; the next start takes it over.
socket="$XDG_RUNTIME_DIR/io.github.rpn_calculator.rpn.socket"
kill -KILL "$first"
wait "$first" 2>/dev/null || true
check "a killed calculator leaves its socket" yes "$([ -S "$socket" ] && echo yes)"
begin=$(date +%s%N)
start_window
check "the start after a killed calculator comes up" yes "$(kill -0 "$pid" && echo yes)"
echo "start-up over a stale socket: $((($(date +%s%N) - begin) / 1000000)) ms"
status=0
timeout 5 "$program" || status=$?
check "and answers the start after it" 0 "$status"

# A hung calculator does not keep the next start from coming up.
hung=$pid
kill -STOP "$hung"
begin=$(date +%s%N)
start_window
waited=$((($(date +%s%N) - begin) / 1000000))
echo "start-up past a hung calculator: $waited ms"
check "a start past a hung calculator comes up within two seconds" yes "$([ "$waited" -lt 2000 ] && echo yes)"
status=0
timeout 5 "$program" || status=$?
check "and it answers the next start" 0 "$status"
kill -CONT "$hung"

if [ "$failures" -ne 0 ]; then
    echo "--- rpn output" >&2
    cat "$work/rpn.log" >&2
    exit 1
fi
