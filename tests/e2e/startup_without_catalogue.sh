#!/usr/bin/env bash
# Starts the real program where no catalogue can be found: an "Application
# Error" box must appear before any main window; dismissed with Enter as a user
# would, the program must end with exit code 1.
# Usage: VOSTREL_TITLE=TITLE startup_without_catalogue.sh PATH/TO/vostrel DATADIR_CATALOGUE
set -uo pipefail
program=$1
installed_catalogue=$2
here=$(dirname "$0")
source "$here/xvfb.sh"

if [[ -e "$installed_catalogue" ]]; then
    echo "SKIP: an installed catalogue exists at $installed_catalogue"
    exit 77
fi

work=$(mktemp -d)
CLEANUP+=("$work")
cp "$program" "$work/vostrel" # a directory without db1.sqlite
start_xvfb || exit 1

cd "$work"
./vostrel >"$work/log" 2>&1 &
pid=$!
PROGRAM_LOG="$work/log" PROGRAM_PID=$pid

if ! box=$(wait_for_window "Application Error" 30); then
    echo "FAIL: no 'Application Error' box appeared" >&2
    kill -9 "$pid" 2>/dev/null
    exit 1
fi
if xdotool search --onlyvisible --name "^$VOSTREL_TITLE\$" >/dev/null 2>&1; then
    echo "FAIL: the main window was shown before the error" >&2
    kill -9 "$pid" 2>/dev/null
    exit 1
fi
xdotool windowfocus --sync "$box" key Return

wait_for_exit "$pid" 20
code=$?
if [[ $code -ne 1 ]]; then
    echo "FAIL: exit code $code, expected 1" >&2
    exit 1
fi
echo "PASS: 'Application Error' shown, exit code 1"
