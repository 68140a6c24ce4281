#!/usr/bin/env bash
# The start-up benchmark on a program that cannot start (no catalogue beside
# it) must stop with a message and a non-zero status, not print no figure.
# Usage: bench_without_catalogue.sh PATH/TO/vostrel PATH/TO/startup_probe
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tools/bench"
cp "$1" "$work/vostrel"
cp "$2" "$work/tools/bench/startup_probe"
# An installed catalogue would be found: the program must find none.
if [[ -e /usr/share/vostrel/db1.sqlite || -e /usr/local/share/vostrel/db1.sqlite ]]; then
    echo "SKIP: an installed catalogue would be found"
    exit 77
fi
VOSTREL_BENCH_BUILD="$work" bash "$here/../../tools/bench_startup.sh" 1 >"$work/out" 2>"$work/err"
status=$?
[[ $status -ne 0 ]] || { echo "FAIL: the benchmark succeeded without a figure: $(cat "$work/out")" >&2; exit 1; }
grep -q "no figure for $work/vostrel: .*Application Error" "$work/err" ||
    { echo "FAIL: no reason given: $(cat "$work/err")" >&2; exit 1; }
echo "PASS: $(cat "$work/err")"
