# Shared by the end-to-end tests: a private X server and waiting with a limit.
# Source it; start_xvfb sets DISPLAY. On exit the server is stopped and the
# paths in CLEANUP are removed.
#
# A test that starts the program sends its output to PROGRAM_LOG and sets
# PROGRAM_PID: when the test fails, the program's log is printed, and waiting
# for a window stops as soon as the program has ended.

CLEANUP=()
XVFB_PID=
PROGRAM_LOG=
PROGRAM_PID=
# on_exit [STATUS]: STATUS is the test's exit status, $? when not given.
on_exit() {
    local status=${1:-$?}
    if ((status != 0 && status != 77)) && [[ -n "$PROGRAM_LOG" ]]; then
        echo "--- the program's log" >&2
        cat "$PROGRAM_LOG" >&2 2>/dev/null
    fi
    [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    ((${#CLEANUP[@]})) && rm -rf "${CLEANUP[@]}"
    return 0
}
trap on_exit EXIT

start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    #: by default the server resets when its last client leaves (a
    # probe of wait_for_window, say), and refuses the clients that connect
    # meanwhile. On a busy machine the program's own connection then falls
    # into a reset: Qt finds no display and aborts.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    if ! read -r -t 20 number <"$fifo"; then
        echo "Xvfb did not start" >&2
        rm -f "$fifo"
        return 1
    fi
    rm -f "$fifo"
    export DISPLAY=":$number"
    # The platform of this X server, whatever the calling shell exports.
    export QT_QPA_PLATFORM=xcb
}

# wait_for_window NAME SECONDS: prints the id of a visible window whose name
# is exactly NAME. Names are compared here, not by xdotool's regular
# expressions, which do not match Cyrillic names reliably. Under a window
# manager xdotool may miss a new window's visibility: WINDOW_SEARCH can drop
# --onlyvisible.
WINDOW_SEARCH=(xdotool search --onlyvisible --name .)
wait_for_window() {
    local name=$1 deadline=$((SECONDS + $2)) id
    while ((SECONDS < deadline)); do
        if [[ -n "$PROGRAM_PID" ]] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            echo "the program ended before a window «$name» showed" >&2
            return 1
        fi
        for id in $("${WINDOW_SEARCH[@]}" 2>/dev/null); do
            if [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == "$name" ]]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# wait_for_exit PID SECONDS: waits for the process and returns its exit code;
# kills it and returns 124 when it outlives the limit.
wait_for_exit() {
    local pid=$1 deadline=$((SECONDS + $2))
    while kill -0 "$pid" 2>/dev/null; do
        if ((SECONDS >= deadline)); then
            kill -9 "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            return 124
        fi
        sleep 0.2
    done
    wait "$pid"
}
