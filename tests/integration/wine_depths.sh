#!/bin/bash
# The Windows build under Wine at every depth of the display (Windows sees a
# 24-bit X display as 32 bits per pixel): /s with a black background paints
# the screen black with units on it that move, and still closes on a mouse move.
# At 32 bits the normal background shows the desktop between the lanes with
# every colour it has.
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

# exact_with_units PICTURE REGION: the region differs from the desktop, but
# not in the rows between the lanes of a 768-pixel screen (61 pixels each).
exact_with_units() {
    local gap
    [ "$(differing "$WORK/desktop.png[$2]" "$1[$2]")" != 0 ] || return 1
    for gap in 52 157 281 382 530 644; do
        [ "$(differing "$WORK/desktop.png[1024x61+0+$gap]" "$1[1024x61+0+$gap]")" = 0 ] || return 1
    done
}
if [ "$depth" = 24 ]; then
    import -window root "$WORK/desktop.png"
    set_saver_value BACKGROUND 0
    wine "$DOVEZI_SCR" /s &
    SAVER=$!
    wait_until 90 exact_with_units "$screen" || fail "the desktop between the lanes lost colours"
    xdotool mousemove 300 200
    wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the saver"
fi
echo "wine at depth $depth: ok"
