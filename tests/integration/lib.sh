# Shared helpers of the integration tests. The test's environment gives
# XVFB_STATE (the fixture's state folder) and DOVEZI (the program).

use_display() {
    DISPLAY=":$(tr -d '[:space:]' <"$XVFB_STATE/display")"
    export DISPLAY
    WORK=$(mktemp -d)
    export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/run"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    trap 'rm -rf "$WORK"' EXIT
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_for_exit PID SECONDS: true when the process ended in time; its exit
# status is left in EXIT_STATUS.
wait_for_exit() {
    local pid=$1 tenths=$(($2 * 10))
    for _ in $(seq "$tenths"); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# wait_for_window NAME: the id of the first window with that name.
wait_for_window() {
    local id
    for _ in $(seq 50); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
