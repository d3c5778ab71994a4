#!/usr/bin/env bash
# Where a start's time goes, from the launcher's fork to the first complete
# frame: starts the calculator and qt_floor in turn on one private X server
# (and D-Bus session), each with RPN_START_MARKS set to the launch time, and
# prints the median time of each mark they report, in milliseconds since the
# launch.
#
#   bench/start_marks.sh [-n RUNS] [BUILD_DIR]     (default 21, build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=21
if [ "${1:-}" = -n ]; then runs=$2; shift 2; fi
build=${1:-build/release}
if [ -z "${RPN_MARKS_INSIDE:-}" ]; then
    export RPN_MARKS_INSIDE=1
    exec testsupport/with_xvfb.sh -s 1280x1024x24 dbus-run-session -- "$0" -n "$runs" "$build"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. testsupport/checks.sh
private_session "$work"

# One start: the launch time goes into the environment just before exec, and
# the program is ended once it has reported.
start() {
    local label=$1 program=$2 out=$work/$1.$3
    python3 -c 'import os, sys, time
os.environ["RPN_START_MARKS"] = str(time.monotonic_ns())
os.execv(sys.argv[1], sys.argv[1:])' "$program" 2>"$out" &
    local pid=$!
    for _ in $(seq 200); do
        grep -q "frame flushed" "$out" 2>/dev/null && break
        sleep 0.02
    done
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    grep '^start-mark' "$out" | sed "s/^/$label /" >>"$work/marks"
}

start warmup "$build/app/rpn" 0
start warmup "$build/bench/qt_floor" 0
: >"$work/marks"
for run in $(seq "$runs"); do
    start rpn "$build/app/rpn" "$run"
    start qt_floor "$build/bench/qt_floor" "$run"
done
# Medians per program and mark, in the order the calculator reports them.
awk '{ key = $1 " " $5; for (i = 6; i <= NF; i++) key = key " " $i
       if (!(key in n)) order[++count] = key
       values[key, ++n[key]] = $3 }
     END {
       for (k = 1; k <= count; k++) {
           key = order[k]; m = n[key]
           for (i = 1; i <= m; i++) v[i] = values[key, i]
           for (i = 2; i <= m; i++) for (j = i; j > 1 && v[j-1] > v[j]; j--) { t = v[j]; v[j] = v[j-1]; v[j-1] = t }
           median = m % 2 ? v[(m+1)/2] : (v[m/2] + v[m/2+1]) / 2
           split(key, parts, " "); label = parts[1]; sub(/^[^ ]+ /, "", key)
           printf "%-9s %8.2f ms  %s\n", label, median, key
       }
     }' "$work/marks"
