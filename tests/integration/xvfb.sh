#!/bin/bash
# Starts or stops a private X server for the integration tests.
#   xvfb.sh start STATE_DIR DEPTH [WIDTHxHEIGHT]   writes STATE_DIR/display and STATE_DIR/pid
#   xvfb.sh stop STATE_DIR
set -euo pipefail
action=$1
state=$2
case "$action" in
start)
    depth=$3
    size=${4:-1024x768}
    mkdir -p "$state"
    rm -f "$state/display" "$state/pid"
    Xvfb -displayfd 3 -screen 0 "${size}x${depth}" -nolisten tcp -noreset 3>"$state/display" \
        >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/pid"
    for _ in $(seq 100); do
        if [ -s "$state/display" ]; then
            exit 0
        fi
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    cat "$state/xvfb.log" >&2
    exit 1
    ;;
stop)
    if [ -f "$state/pid" ]; then
        kill "$(cat "$state/pid")" 2>/dev/null || true
        rm -f "$state/pid" "$state/display"
    fi
    ;;
esac
