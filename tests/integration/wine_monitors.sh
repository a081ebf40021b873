#!/bin/bash
# The Windows build under Wine with two monitors side by side (the primary
# one on the right, so the virtual screen starts left of it, at -1024): /s
# covers both. With a black background both halves turn black with units
# moving on each; with the desktop left as it is each half shows its own half
# of the desktop. A mouse move closes the saver on either.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SCR" ] || { echo "no Windows build at $DOVEZI_SCR"; exit 77; }
command -v Xorg >/dev/null || { echo "no Xorg"; exit 77; }
use_work
mkdir "$WORK/xorg.conf.d"
Xorg -displayfd 3 -config "$(cd "$(dirname "$0")" && pwd)/two_monitors.conf" -configdir "$WORK/xorg.conf.d" \
    -noreset -nolisten tcp -logfile "$WORK/xorg.log" 3>"$WORK/display" >/dev/null 2>&1 &
XORG=$!
trap 'end_wine; kill "$XORG" 2>/dev/null; wait "$XORG" 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 300); do
    [ -s "$WORK/display" ] || ! kill -0 "$XORG" 2>/dev/null && break
    sleep 0.1
done
[ -s "$WORK/display" ] || { echo "Xorg did not start"; tail -20 "$WORK/xorg.log"; exit 77; }
DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
export DISPLAY
use_wine
# Wine's desktop process crashes listing the video modes (XVidMode) of two X
# screens joined by Xinerama, and programs then see a single monitor.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXVidMode /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
halves=(1024x768+0+0 1024x768+1024+0)

"$DOVEZI" --record "$WORK/desktop" --seconds 1 --size 2048x768 >/dev/null || fail "no desktop picture"
desktop="$WORK/desktop/frame-0000.png"
display -window root "$desktop" 2>/dev/null
set_saver_value PLAYMIDI 0

# run_saver BACKGROUND CHECK: runs the saver with that background until CHECK
# succeeds, then closes it with a mouse move.
run_saver() {
    set_saver_value BACKGROUND "$1"
    xdotool mousemove 300 200
    wine "$DOVEZI_SCR" /s &
    SAVER=$!
    $2
    kill -0 "$SAVER" 2>/dev/null || fail "the saver ended by itself"
    xdotool mousemove 310 205
    wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the saver"
}

black_parade() {
    wait_until 90 black_with_units "${halves[@]}" || fail "the two halves did not turn black with units on them"
    cp "$WORK/root.png" "$WORK/parade.png"
    wait_until 30 moved "${halves[@]}" || fail "nothing moved on one half"
}

# shows_desktop PICTURE REGION: the region differs from the same region of the
# desktop by the units on it alone (the saver draws in 16-bit colour, hence
# the tolerance).
shows_desktop() {
    awk -v changed="$(differing "$desktop[$2]" "$1[$2]" 6%)" 'BEGIN { exit !(changed > 200 && changed < 0.2 * 1024 * 768) }'
}

desktop_parade() {
    wait_until 90 shows_desktop "${halves[@]}" || fail "a half does not show its own half of the desktop"
}

run_saver 1 black_parade
run_saver 0 desktop_parade
echo "wine on two monitors: ok"
