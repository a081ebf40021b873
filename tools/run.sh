#!/bin/bash
# The main job of `make run`: the saver on this display, or, where there is
# no display, a few seconds of it on a private X server with a screenshot.
set -euo pipefail
program=$1

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$program" -s
fi

mkdir -p out
state=$(mktemp -d)
trap 'tests/integration/xvfb.sh stop "$state"; rm -rf "$state"' EXIT
tests/integration/xvfb.sh start "$state" 24 1280x800
export DISPLAY=":$(tr -d '[:space:]' <"$state/display")"
"$program" -s &
saver=$!
sleep 5
shot="out/screenshot-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
kill -TERM "$saver"
wait "$saver" || true
echo "$shot"
