#!/usr/bin/env bash
# Starts the window once under a private headless Wayland compositor and
# checks, in the client's own protocol log, that it names its desktop entry
# as the toplevel's app_id and draws a frame. Usage: RPN APP_ID
set -euo pipefail
rpn=$1
app_id=$2

scratch=$(mktemp -d)
chmod 700 "$scratch"
weston_pid=""
app_pid=""
cleanup() {
    [ -z "$app_pid" ] || { kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; }
    [ -z "$weston_pid" ] || { kill "$weston_pid" 2>/dev/null || true; wait "$weston_pid" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap cleanup EXIT

socket="rpn-test-$$"
# The kiosk shell starts no helper clients of its own.
XDG_RUNTIME_DIR=$scratch weston --backend=headless-backend.so --shell=kiosk-shell.so --socket="$socket" \
    --idle-time=0 >"$scratch/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$scratch/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$scratch/weston.log" >&2; echo "weston exited" >&2; exit 1; }
    sleep 0.1
done
[ -S "$scratch/$socket" ] || { echo "weston made no socket in 10 s" >&2; exit 1; }

# A private home, so the state saved when the window closes lands in the scratch directory.
mkdir "$scratch/config"
env XDG_RUNTIME_DIR="$scratch" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 \
    XDG_CONFIG_HOME="$scratch/config" HOME="$scratch" "$rpn" >"$scratch/app.log" 2>&1 &
app_pid=$!

log="$scratch/app.log"
app_id_call="xdg_toplevel@[0-9]+\.set_app_id\(\"$app_id\"\)"
frame_call="wl_surface@[0-9]+\.attach\(wl_buffer@"
for _ in $(seq 150); do
    grep -Eq "$app_id_call" "$log" && grep -Eq "$frame_call" "$log" && break
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if ! grep -Eq "$app_id_call" "$log"; then
    echo "no set_app_id(\"$app_id\") within 15 s; the client sent:" >&2
    grep -E "set_app_id|xdg_toplevel|Failed|platform plugin" "$log" >&2 || tail -20 "$log" >&2
    exit 1
fi
if ! grep -Eq "$frame_call" "$log"; then
    echo "the window named itself but attached no buffer within 15 s" >&2
    exit 1
fi
echo "the window came up on Wayland as $(grep -Eo "$app_id_call" "$log" | head -1)"
