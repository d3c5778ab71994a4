#!/usr/bin/env bash
# Runs a command inside an X server of its own and ends the server after it.
#   with_xvfb.sh [-s WIDTHxHEIGHTxDEPTH] COMMAND [ARG ...]
# The server picks a free display number itself and reports it on a pipe
# (-displayfd), so suites started side by side never race for a number the
# way a probe-then-start does. The command's status is this script's.
set -euo pipefail
screen=640x480x24
if [ "${1:-}" = -s ]; then
    screen=$2
    shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [-s WIDTHxHEIGHTxDEPTH] COMMAND [ARG ...]" >&2; exit 2; }

scratch=$(mktemp -d)
server=""
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# The number arrives once the server accepts connections; a server that
# dies first closes the pipe and leaves it empty. Without -noreset the server
# resets each time its last client leaves, and a program started right after
# another has ended finds it unable to take connections for that moment.
mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
server=$!
number=""
read -r -t 30 number <"$scratch/display" || true
[ -n "$number" ] || { echo "$0: Xvfb did not start:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number"
status=0
"$@" || status=$?
exit "$status"
