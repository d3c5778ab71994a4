#!/usr/bin/env bash
# Starts the window once on a private X server and checks that its WM_CLASS
# class is the desktop entry's StartupWMClass, by which an X11 shell matches
# the window to the entry and its icon. Usage: RPN DESKTOP_FILE
set -euo pipefail
program=$(realpath "$1")
entry=$(realpath "$2")
if [ -z "${RPN_WM_CLASS_INSIDE_X:-}" ]; then
    export RPN_WM_CLASS_INSIDE_X=1
    exec "$(dirname "$(realpath "$0")")/../testsupport/with_xvfb.sh" "$0" "$program" "$entry"
fi

wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || { echo "$entry has no StartupWMClass" >&2; exit 1; }

scratch=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap cleanup EXIT
# A private runtime directory too, so a calculator already running for this
# user does not take the start over.
mkdir -m 700 "$scratch/runtime"
XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch" QT_QPA_PLATFORM=xcb \
    "$program" >"$scratch/rpn.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no window within 10 s" >&2; cat "$scratch/rpn.log" >&2; exit 1; }
# WM_CLASS(STRING) = "instance", "class"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
if [ "$class" != "$wm_class" ]; then
    echo "the window's WM_CLASS class is '$class', the entry's StartupWMClass '$wm_class'" >&2
    exit 1
fi
echo "the window's WM_CLASS class is '$class', as the entry expects"
