#!/bin/bash
# The Windows build under Wine at every depth of the display (Windows sees a
# 24-bit X display as 32 bits per pixel): /s with a black background paints
# the screen black with units on it that move, and still closes on a mouse move.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SCR" ] || { echo "no Windows build at $DOVEZI_SCR"; exit 77; }
use_display
use_wine
trap 'end_wine; rm -rf "$WORK"' EXIT
depth=$(xdpyinfo | awk '/depth of root/ {print $5; exit}')
screen=1024x768+0+0

"$DOVEZI" --record "$WORK/desktop" --seconds 1 --size 1024x768 >/dev/null || fail "no desktop picture"
display -window root "$WORK/desktop/frame-0000.png" 2>/dev/null
set_saver_value PLAYMIDI 0
set_saver_value BACKGROUND 1

xdotool mousemove 300 200
wine "$DOVEZI_SCR" /s &
SAVER=$!
wait_until 90 black_with_units "$screen" || fail "the screen did not turn black with units on it"
cp "$WORK/root.png" "$WORK/parade.png"
wait_until 30 moved "$screen" || fail "nothing moved"
kill -0 "$SAVER" 2>/dev/null || fail "the saver ended by itself"
xdotool mousemove 310 205
wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the saver"
echo "wine at depth $depth: ok"
