#!/usr/bin/env bash
# The window's file paths in a real X server: a FIFO named on the command
# line and chosen in File > Load State and File Open (none may hang the
# program), a file declaring a 256 MiB text (the peak memory of the load),
# the settings file as a link to a device, a FIFO and a sparse 1 GiB file
# (each refused at once and left as it was), and Ctrl+S onto a full file
# system (as root, on a small tmpfs: "File Error", the old file and the
# settings file byte for byte, nothing left behind).
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
    local w deadline=$((SECONDS + 20))
    while [ "$SECONDS" -lt "$deadline" ]; do
        w=$(window_of_height "$1")
        if [ -n "$w" ]; then
            xdotool windowfocus --sync "$w" 2>/dev/null || true
            return 0
        fi
        sleep 0.1
    done
    return 1
}

keys() {
    xdotool key --delay 60 "$@"
}

# Ctrl+C, then what the clipboard holds once it is EXPECTED, or after 5 s.
copied() {
    local text deadline=$((SECONDS + 5))
    keys ctrl+c
    while :; do
        text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
        if [ "$text" = "$1" ] || [ "$SECONDS" -ge "$deadline" ]; then
            echo "$text"
            return
        fi
        sleep 0.1
    done
}

# The message of a box is "File Error" wherever a file fails (the unit tests
# read it); here it is enough that a box came up, and goes with Return.
dismiss_box() {
    local deadline=$((SECONDS + 5))
    keys Return
    while [ -n "$(window_of_height box)" ] && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.1
    done
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

# Types PATH into the file dialog titled TITLE, once it has the focus, and
# accepts it.
choose_file() {
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
    check "the window works after the FIFO" "4.000000e+00" "$(copied 4.000000e+00)"
else
    check "FIFO on the command line: the window" "window" "none within 20 s"
fi

# The same FIFO through File > Load State.
keys alt+f l
choose_file "Load State File" "$work/fifo.rpn"
expect_box "FIFO through Load State"
wait_for main || true
keys 5 Return
check "the window works after Load State" "5.000000e+00" "$(copied 5.000000e+00)"

# And through File Open (Ctrl+O), the framework's own open path.
keys ctrl+o
choose_file "Open" "$work/fifo.rpn"
expect_box "FIFO through Open"
wait_for main || true
keys 6 Return
check "the window works after Open" "6.000000e+00" "$(copied 6.000000e+00)"
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

# The settings file as what no settings file can be: refused at once with
# one box and a line on standard error, the window within a second, little
# memory, and the node or file just as it was after SIGTERM.
settings_refused() {
    local what=$1 before started elapsed peak
    before=$(stat -L -c '%F %t:%T %s %b %i %Y' "$ini")
    : >"$work/rpn.log"
    started=$(date +%s%N)
    start
    if wait_for box; then
        elapsed=$((($(date +%s%N) - started) / 1000000))
        echo "$what: the box after $elapsed ms"
        check "$what: a window within a second" "yes" "$([ "$elapsed" -lt 1000 ] && echo yes)"
        check "$what: the message box" "dismissed" "$(dismiss_box)"
    else
        check "$what: a message box" "box" "none within 20 s"
    fi
    wait_for main || true
    peak=$(peak_kib)
    echo "$what: peak memory $peak KiB"
    check "$what: peak memory under 200 MiB" "yes" "$([ "${peak:-0}" -lt 204800 ] && echo yes)"
    keys 7 Return
    check "$what: the calculator works" "7.000000e+00" "$(copied 7.000000e+00)"
    stop
    check "$what: SIGTERM ends the program normally" "0" "$exit_status"
    check "$what: left as it was" "$before" "$(stat -L -c '%F %t:%T %s %b %i %Y' "$ini")"
    check "$what: said why at the start" "1" "$(grep -c "RPN.ini was not read" "$work/rpn.log")"
    check "$what: said so at exit" "1" "$(grep -c "RPN.ini is left as it is" "$work/rpn.log")"
}
mv "$ini" "$work/good.ini"
if [ "$(id -u)" -eq 0 ] && mknod "$work/null" c 1 3; then
    ln -s "$work/null" "$ini"
    settings_refused "RPN.ini a link to a device"
    check "the link is still a link to the device" "$work/null" "$(readlink "$ini")"
    rm "$ini"
else
    echo "SKIPPED: cannot make a device node (needs root and mknod); RPN.ini as a device was not tried"
fi
mkfifo "$ini"
settings_refused "RPN.ini a FIFO"
rm "$ini"
truncate -s 1G "$ini"
settings_refused "RPN.ini a sparse 1 GiB file"
rm "$ini"
mv "$work/good.ini" "$ini"

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
    deadline=$((SECONDS + 5))
    until [ "$("$cli" --state "$work/full/state.rpn" ENTER)" = " 9.000000 00" ] || [ "$SECONDS" -ge "$deadline" ]; do
        sleep 0.1
    done
    check "Ctrl+S saved the state" " 9.000000 00" "$("$cli" --state "$work/full/state.rpn" ENTER)"
    check "no message once there is room" "" "$(window_of_height box)"
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
