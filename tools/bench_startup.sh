#!/usr/bin/env bash
# Start-up benchmark: time from process start until the main window is mapped,
# and peak resident memory by then, for Vostrel and for a minimal Qt Widgets
# program showing one empty window of the same size, on the same machine in
# one run, under a private Xvfb. Prints medians of RUNS runs (default 15) and
# the ratios. Not a test: nothing is asserted.
#   tools/bench_startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
"$root/tools/deps.sh" bench
cmake --preset release >/dev/null
cmake --build --preset release --target vostrel bench_minimal startup_probe >/dev/null
source "$root/tests/e2e/xvfb.sh"
start_xvfb

build="$root/build/release"
probe="$build/tools/bench/startup_probe"
cd "$build" # the catalogue beside the program, as after ./run.sh
minimal="$build/tools/bench/bench_minimal"
declare -a ours_ms ours_kb mini_ms mini_kb text_ms text_kb
for ((i = 0; i < runs; i++)); do # interleaved, so that drift hits all alike
    read -r ms kb < <("$probe" "Vostrel v1.0" "$build/vostrel" 2>/dev/null)
    ours_ms+=("$ms"); ours_kb+=("$kb")
    read -r ms kb < <("$probe" "Minimal v1.0" "$minimal" 2>/dev/null)
    mini_ms+=("$ms"); mini_kb+=("$kb")
    read -r ms kb < <("$probe" "Minimal v1.0" "$minimal" caption 2>/dev/null)
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
