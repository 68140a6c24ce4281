#!/usr/bin/env bash
# Installs what is missing, checks the format of every C++ file, then
# builds (warnings as errors) and runs every test twice: in the
# Release build and in the AddressSanitizer + UndefinedBehaviorSanitizer build,
# then fuzzes the plain C++ libraries for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh test
tools/check_format.sh
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for preset in release asan; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
echo "== fuzzing (${FUZZ_SECONDS:-60} s per target)"
tests/fuzz.sh
