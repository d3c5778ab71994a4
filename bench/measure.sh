#!/usr/bin/env bash
# Measures the calculator's start-up beside the bare Qt 6 window (qt_floor)
# and the RPN-capable peers from Debian, in one run on one private X server,
# with the shared measuring tool, and prints the side-by-side table and the
# budget: complete first frame at most 1.10 times qt_floor's, idle RSS at
# most 2 MiB above it, key round trip within 0.2 ms of it, with the ratios.
# Then the paint-path benchmarks (bench/paint_bench).
#
#   bench/measure.sh [--install-peers] [-n RUNS] [-- EXTRA TOOL OPTIONS]
#
#   --install-peers  apt-get install grpn galculator speedcrunch qalculate-gtk
#                    first (as root); otherwise the peers found on PATH run
#   -n RUNS          timed runs per program (default 21)
# Environment:
#   MEASURE_STARTUP    the tool (default ../shared/tools/measure-startup.sh
#                      beside this checkout; it is run from there, never copied)
#   RPN_RELEASE_BUILD  an already configured build directory to use instead of
#                      the release preset's build/release
#   MEASURE_DISPLAY    X display for the private server (default :77)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

measure=${MEASURE_STARTUP:-$root/../shared/tools/measure-startup.sh}
runs=21 install_peers=0 extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --install-peers) install_peers=1; shift ;;
        -n) runs=$2; shift 2 ;;
        --) shift; extra=("$@"); break ;;
        *) echo "usage: bench/measure.sh [--install-peers] [-n RUNS] [-- TOOL OPTIONS]" >&2; exit 2 ;;
    esac
done
[ -x "$measure" ] || { echo "measure.sh: no measuring tool at $measure (set MEASURE_STARTUP)" >&2; exit 1; }

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
peers=(grpn galculator speedcrunch qalculate-gtk)
# The tool builds a small X client of its own and needs a private X server.
tool_packages=(gcc libx11-dev libxdamage1 libxtst6 xvfb x11-utils dbus)
missing=()
for package in "${tool_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ $install_peers = 0 ] || missing+=("${peers[@]}")
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ -n "${RPN_RELEASE_BUILD:-}" ]; then
    build=$RPN_RELEASE_BUILD
else
    build=build/release
    cmake --preset release >/dev/null
fi
cmake --build "$build" -j2 --target rpn qt_floor paint_bench

# The pad's + is the one key that adds in every layout and every peer.
keys='2 Return 3 KP_Add'
commands=("name=rpn $build/app/rpn" "name=qt_floor $build/bench/qt_floor")
command -v grpn >/dev/null && commands+=("name=grpn grpn")
command -v galculator >/dev/null && commands+=("name=galculator roi=6,32,384,96 galculator")
command -v speedcrunch >/dev/null && commands+=("name=speedcrunch nokeys speedcrunch")
command -v qalculate-gtk >/dev/null && commands+=("name=qalculate-gtk nokeys qalculate-gtk")

out=$(mktemp -d /tmp/rpn-measure.XXXXXX)
# Ten rounds of the keys: 40 key timings each, enough for a median that
# the machine's noise moves by less than the differences it is read for.
"$measure" -n "$runs" -r 10 -d "${MEASURE_DISPLAY:-:77}" -k "$keys" -o "$out" \
    -s "$(dirname "$measure")/seeds/galculator-rpn" "${extra[@]}" "${commands[@]}" >"$out/tool.txt"

# One table in the README's form: medians of the timed runs.
awk -F'\t' '
    function median(list,    n, values, i, j, t) {
        n = split(list, values, " ")
        if (n == 0) return -1
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++)
            if (values[j] + 0 < values[i] + 0) { t = values[i]; values[i] = values[j]; values[j] = t }
        return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    FNR == 1 { file++; next }
    file == 1 && $5 >= 0 { if (!($1 in done)) order[++count] = $1; done[$1] = done[$1] " " $5; rss[$1] = rss[$1] " " $7 / 1024 }
    file == 2 && $5 >= 0 { key[$1] = key[$1] " " $5 }
    END {
        print "| program | complete first frame | idle RSS | key round trip |"
        print "|---|---|---|---|"
        for (i = 1; i <= count; i++) {
            n = order[i]
            d[n] = median(done[n]); r[n] = median(rss[n]); k[n] = median(key[n])
            printf "| %s | %.1f ms | %.1f MiB | %s |\n", n, d[n], r[n], (k[n] < 0) ? "–" : sprintf("%.2f ms", k[n])
        }
        if (("rpn" in d) && ("qt_floor" in d)) {
            print ""
            printf "budget: first frame %.1f <= %.1f ms (1.10 x qt_floor, ratio %.2f): %s\n", d["rpn"], 1.10 * d["qt_floor"], d["rpn"] / d["qt_floor"], (d["rpn"] <= 1.10 * d["qt_floor"]) ? "met" : "MISSED"
            printf "budget: idle RSS %.1f <= %.1f MiB (qt_floor + 2, difference %+.1f): %s\n", r["rpn"], r["qt_floor"] + 2, r["rpn"] - r["qt_floor"], (r["rpn"] <= r["qt_floor"] + 2) ? "met" : "MISSED"
            if (k["rpn"] >= 0 && k["qt_floor"] > 0)
                printf "budget: key round trip %.2f <= %.2f ms (qt_floor + 0.2, difference %+.2f): %s\n", k["rpn"], k["qt_floor"] + 0.2, k["rpn"] - k["qt_floor"], (k["rpn"] <= k["qt_floor"] + 0.2) ? "met" : "MISSED"
            for (i = 1; i <= count; i++)
                if (order[i] != "qt_floor")
                    printf "ratio to qt_floor, first frame: %s %.2f\n", order[i], d[order[i]] / d["qt_floor"]
        }
    }' "$out/runs.tsv" "$out/keys.tsv" | tee "$out/table.md"
echo
grep '^# ' "$out/summary.txt" | head -4
echo "# the tool's own tables (median [min-max]): $out/summary.txt"

# The paint path on its own, offscreen, after the X server is gone.
echo
"$build/bench/paint_bench" --benchmark_filter='ComposeBackBuffer|DrawDisplay|ApplyBrightness' 2>/dev/null | grep '^BM_'
