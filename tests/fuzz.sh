#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset: clang, no Qt), replays the
# inputs of every crash found so far, then fuzzes each target for a bounded
# time from a copy of its seed corpus. Fails on any crash, broken invariant,
# leak, timeout or running out of memory, and prints the input that did it.
#   FUZZ_SECONDS  time per target (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
bin=build/fuzz/fuzz
artifacts=build/fuzz/artifacts # failing inputs are kept here, outside the sources
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
unset LSAN_OPTIONS # the suppressions of the Qt tests do not concern these

if ! command -v clang++ >/dev/null; then
    echo "FAIL: fuzzing needs clang++ and libFuzzer (Debian: clang, libclang-rt-14-dev)" >&2
    exit 1
fi
echo "== fuzz build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$artifacts"
mkdir -p "$artifacts"

# Prints the path and a hex dump of each failing input of target $1.
report() {
    local found=0 file
    for file in "$artifacts/$1-"*; do
        [[ -e "$file" ]] || continue
        found=1
        echo "-- failing input: $(realpath "$file") ($(stat -c %s "$file") bytes)"
        od -A x -t x1z -v "$file" | head -n 256
    done
    ((found)) || echo "-- no input was kept (see the log above)"
}

status=0
for target in numtext rtf design; do
    case $target in
        numtext) options=(-max_len=1024) ;;
        rtf) options=(-max_len=65536 -dict=fuzz/rtf.dict) ;;
        design) options=(-max_len=4096 -dict=fuzz/design.dict) ;;
    esac

    regressions=(fuzz/regressions/"$target"/*)
    if [[ -e "${regressions[0]}" ]]; then
        echo "== fuzz_$target: ${#regressions[@]} regression inputs"
        if ! "$bin/fuzz_$target" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$artifacts/$target-regression-" "${regressions[@]}" \
            >"$work/$target-regressions.log" 2>&1; then
            cat "$work/$target-regressions.log"
            echo "FAIL: fuzz_$target on a regression input (the last 'Running:' line above)"
            status=1
            continue
        fi
    fi

    echo "== fuzz_$target: fuzzing for ${seconds} s"
    mkdir "$work/$target"
    cp fuzz/corpus/"$target"/* "$work/$target"/
    if ! "$bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "${options[@]}" \
        "$work/$target" >"$work/$target.log" 2>&1; then
        tail -n 80 "$work/$target.log"
        echo "FAIL: fuzz_$target"
        report "$target"
        status=1
        continue
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb' "$work/$target.log"
    # A slow input is kept without failing the run; crashes, leaks, timeouts
    # and running out of memory make libFuzzer exit with an error.
    rm -f "$artifacts/$target-slow-unit-"*
done
exit $status
