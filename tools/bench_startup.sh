#!/usr/bin/env bash
# Start-up benchmark: time from process start until the main window is mapped,
# and peak resident memory by then, for Vostrel and for a minimal Qt Widgets
# program showing one empty window of the same size, on the same machine in
# one run, under a private Xvfb. Prints medians of RUNS runs (default 15) and
# the ratios. Not a test: nothing is asserted. It stops with a message and
# status 1 when a run gives no figure. VOSTREL_BENCH_BUILD names a build
# folder to measure as it is, without installing or building.
#   tools/bench_startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=${VOSTREL_BENCH_BUILD:-}
if [[ -z "$build" ]]; then
    "$root/tools/deps.sh" bench
    cmake --preset release >/dev/null
    # The program needs its catalogue beside it, or it stops at start-up.
    cmake --build --preset release --target vostrel catalogue bench_minimal startup_probe >/dev/null
    build="$root/build/release"
fi
source "$root/tests/e2e/xvfb.sh"
start_xvfb

probe="$build/tools/bench/startup_probe"
cd "$build" # the catalogue beside the program, as after ./run.sh
minimal="$build/tools/bench/bench_minimal"
# measure NAME PROGRAM [ARG...]: one run; prints "ms kb", or stops the
# benchmark with the probe's reason when it gives no figure.
errors=$(mktemp)
CLEANUP+=("$errors")
measure() {
    local out
    if ! out=$("$probe" "$@" 2>"$errors") || [[ ! "$out" =~ ^[0-9.]+\ [0-9]+$ ]]; then
        # The probe's reason is the last line, after whatever the program wrote.
        echo "bench_startup: no figure for $2: $(tail -n 1 "$errors")" >&2
        exit 1
    fi
    echo "$out"
}
# The main window's title holds the version of project() in CMakeLists.txt.
title="Vostrel v$(sed -n 's/^project(vostrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
declare -a ours_ms ours_kb mini_ms mini_kb text_ms text_kb
for ((i = 0; i < runs; i++)); do # interleaved, so that drift hits all alike
    figures=$(measure "$title" "$build/vostrel") || exit 1
    read -r ms kb <<<"$figures"
    ours_ms+=("$ms"); ours_kb+=("$kb")
    figures=$(measure "Minimal v1.0" "$minimal") || exit 1
    read -r ms kb <<<"$figures"
    mini_ms+=("$ms"); mini_kb+=("$kb")
    figures=$(measure "Minimal v1.0" "$minimal" caption) || exit 1
    read -r ms kb <<<"$figures"
    text_ms+=("$ms"); text_kb+=("$kb")
done

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
om=$(median "${ours_ms[@]}"); ok=$(median "${ours_kb[@]}")
mm=$(median "${mini_ms[@]}"); mk=$(median "${mini_kb[@]}")
tm=$(median "${text_ms[@]}"); tk=$(median "${text_kb[@]}")
row() { printf '%-34s %10.1f %13.1f\n' "$1" "$2" "$(echo "$3 / 1024" | bc -l)"; }
printf '%-34s %10s %13s\n' "program ($runs runs, median)" "shown, ms" "peak RSS, MB"
row "Vostrel" "$om" "$ok"
row "minimal Qt window" "$mm" "$mk"
row "minimal Qt window with a caption" "$tm" "$tk"
printf '%-34s %10.2f %13.2f\n' "ratio to the minimal window" "$(echo "$om / $mm" | bc -l)" \
    "$(echo "$ok / $mk" | bc -l)"
printf '%-34s %10.2f %13.2f\n' "ratio to the one with a caption" "$(echo "$om / $tm" | bc -l)" \
    "$(echo "$ok / $tk" | bc -l)"
