#!/usr/bin/env bash
# The harness of the end-to-end tests. Its X server must outlive the coming
# and going of clients: a server that resets when its last client leaves
# refuses those that connect meanwhile, and the program, refused at start,
# aborts. A failing test must print the program's log, and only then.
# Usage: xserver.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_xvfb || exit 1
# A property of the root window lasts as long as the server does not reset.
xprop -root -f VOSTREL_PROBE 8s -set VOSTREL_PROBE kept || fail "xprop could not connect"
sleep 1 # the last client has gone: a server that resets does so now
probe=$(xprop -root VOSTREL_PROBE 2>&1)
[[ "$probe" == *'"kept"'* ]] || fail "the X server reset when its last client left: $probe"

work=$(mktemp -d)
CLEANUP+=("$work")
echo "qt.qpa.xcb: the program's own words" >"$work/program.log"
for status in 1 0 77; do
    out=$(bash -c 'source "$1/xvfb.sh"; PROGRAM_LOG=$2; exit "$3"' _ "$here" "$work/program.log" \
        "$status" 2>&1)
    if ((status == 1)); then
        [[ "$out" == *"the program's own words"* ]] || fail "a failed test did not print the log: $out"
    else
        [[ -z "$out" ]] || fail "a test that ended with $status printed: $out"
    fi
done
echo "PASS: the X server outlives its clients; a failed test prints the program's log"
