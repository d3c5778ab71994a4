#!/usr/bin/env bash
# The window's file paths in a real X server: a FIFO named on the command
# line and chosen in File > Load State and File Open (none may hang the
# program), a file declaring a 256 MiB text (the peak memory of the load),
# and Ctrl+S onto a full file system (as root, on a small tmpfs: "File
# Error", the old file and the settings file byte for byte, nothing left
# behind).
# Usage: files_e2e.sh path/to/rpn path/to/rpn-cli
set -euo pipefail

program=$(realpath "$1")
cli=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/../../testsupport/checks.sh"
require_tools Xvfb xdotool xclip

rerun_under_xvfb 640x480x24 "$program" "$cli"

work=$(mktemp -d)
mounted=""
cleanup() {
    [ -n "${pid:-}" ] && kill -KILL "$pid" 2>/dev/null || true
    [ -n "$mounted" ] && umount "$mounted"
    rm -rf "$work"
}
trap cleanup EXIT
private_session "$work"

# The main window and any message box share the caption; a box is the small
# one. Without a window manager, focus is given by hand.
windows() {
    xdotool search --onlyvisible --name "^Kel's RPN$" 2>/dev/null || true
}

window_of_height() {
    local w
    for w in $(windows); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
        if { [ "$1" = box ] && [ "$HEIGHT" -lt 200 ]; } || { [ "$1" = main ] && [ "$HEIGHT" -ge 268 ]; }; then
            echo "$w"
            return
        fi
    done
}

# Waits up to 20 s for the main window or a message box, and focuses it.
wait_for() {
    local w
    for _ in $(seq 100); do
        w=$(window_of_height "$1")
        if [ -n "$w" ]; then
            xdotool windowfocus --sync "$w" 2>/dev/null || true
            sleep 0.3
            return 0
        fi
        sleep 0.2
    done
    return 1
}

keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

copied() {
    keys ctrl+c
    timeout 5 xclip -o -selection clipboard 2>/dev/null || true
}

# The message of a box is "File Error" wherever a file fails (the unit tests
# read it); here it is enough that a box came up, and goes with Return.
dismiss_box() {
    keys Return
    sleep 0.3
    [ -z "$(window_of_height box)" ] && echo "dismissed"
}

# A box must come up for WHAT; it is dismissed with Return.
expect_box() {
    if wait_for box; then
        check "$1: the message box" "dismissed" "$(dismiss_box)"
    else
        check "$1: a message box" "box" "none within 20 s"
    fi
}

# Types PATH into the file dialog titled TITLE and accepts it.
choose_file() {
    sleep 1
    xdotool search --sync --onlyvisible --name "^$1\$" windowfocus --sync >/dev/null 2>&1 || true
    xdotool type --delay 20 "$2"
    keys Return
}

start() {
    "$program" "$@" >>"$work/rpn.log" 2>&1 &
    pid=$!
}

# Ends the program with SIGTERM; sets exit_status.
stop() {
    kill -TERM "$pid"
    wait_for_exit
    pid=""
}

# A FIFO on the command line: "File Error" at once, then the window.
mkfifo "$work/fifo.rpn"
start "$work/fifo.rpn"
expect_box "FIFO on the command line"
if wait_for main; then
    keys 4 Return
    check "the window works after the FIFO" "4.000000e+00" "$(copied)"
else
    check "FIFO on the command line: the window" "window" "none within 20 s"
fi

# The same FIFO through File > Load State.
keys alt+f l
choose_file "Load State File" "$work/fifo.rpn"
expect_box "FIFO through Load State"
wait_for main || true
keys 5 Return
check "the window works after Load State" "5.000000e+00" "$(copied)"

# And through File Open (Ctrl+O), the framework's own open path.
keys ctrl+o
choose_file "Open" "$work/fifo.rpn"
expect_box "FIFO through Open"
wait_for main || true
keys 6 Return
check "the window works after Open" "6.000000e+00" "$(copied)"
stop
check "SIGTERM after the FIFOs ends the program normally" "0" "$exit_status"

# A file declaring a 256 MiB text: refused, and the load stays small.
"$cli" --save "$work/reset.rpn" >/dev/null
{
    head -c 14 "$work/reset.rpn"
    printf '\xff\xfe\xff\xff\xff\xff\x00\x00\x00\x10'
    head -c 4000 /dev/zero
} >"$work/huge.rpn"
peak_kib() {
    sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status"
}
# What the same binary takes with a good file, shown (a sanitizer build
# takes far more than a release build, whatever it loads).
start "$work/reset.rpn"
wait_for main || true
usual=$(peak_kib)
stop
start "$work/huge.rpn"
if wait_for box; then
    peak=$(peak_kib)
    echo "peak memory of the window: $usual KiB with a good file, $peak KiB after the one declaring 256 MiB"
    check "that load takes less than 64 MiB" "yes" "$([ $((peak - usual)) -lt 65536 ] && echo yes)"
    check "a file declaring 256 MiB: the message box" "dismissed" "$(dismiss_box)"
else
    check "a file declaring 256 MiB: a message box" "box" "none within 20 s"
fi
stop
check "SIGTERM after the huge file ends the program normally" "0" "$exit_status"

# Ctrl+S onto a full file system.
if [ "$(id -u)" -eq 0 ] && mkdir "$work/full" && mount -t tmpfs -o size=64k tmpfs "$work/full" 2>/dev/null; then
    mounted="$work/full"
    "$cli" --save "$work/full/state.rpn" 1 2 3 ENTER >/dev/null
    cp "$work/full/state.rpn" "$work/old.rpn"
    # The settings file on the same disk, as the earlier runs left it.
    ini_directory="Local AppWizard-Generated Applications"
    mkdir -p "$work/full/config/$ini_directory"
    cp "$XDG_CONFIG_HOME/$ini_directory/RPN.ini" "$work/full/config/$ini_directory/"
    cp "$XDG_CONFIG_HOME/$ini_directory/RPN.ini" "$work/old.ini"
    export XDG_CONFIG_HOME="$work/full/config"
    dd if=/dev/zero of="$work/full/fill" bs=4k >/dev/null 2>&1 || true
    start "$work/full/state.rpn"
    wait_for main || true
    keys 9 ctrl+s
    expect_box "Ctrl+S on a full disk"
    check "the old file is intact" "same" "$(cmp -s "$work/full/state.rpn" "$work/old.rpn" && echo same)"
    check "nothing left on the full disk" "config fill state.rpn" "$(ls -A "$work/full" | tr '\n' ' ' | sed 's/ $//')"
    rm "$work/full/fill"
    wait_for main || true
    keys ctrl+s
    sleep 0.5
    check "no message once there is room" "" "$(window_of_height box)"
    check "Ctrl+S saved the state" " 9.000000 00" "$("$cli" --state "$work/full/state.rpn" ENTER)"
    # Full again at the exit: the settings cannot be written, and the old
    # settings file stays as it was.
    dd if=/dev/zero of="$work/full/fill" bs=4k >/dev/null 2>&1 || true
    stop
    check "SIGTERM on a full disk ends the program normally" "0" "$exit_status"
    check "the settings file is intact" "same" "$(cmp -s "$work/full/config/$ini_directory/RPN.ini" "$work/old.ini" && echo same)"
    check "nothing left beside the settings file" "RPN.ini" "$(ls -A "$work/full/config/$ini_directory" | tr '\n' ' ' | sed 's/ $//')"
else
    echo "SKIPPED: cannot mount tmpfs (needs root and mount); the full-disk Ctrl+S was not tried"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- rpn output" >&2
    cat "$work/rpn.log" >&2
    exit 1
fi
echo "window files end-to-end: all checks passed"
