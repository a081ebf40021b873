#!/bin/bash
# The Windows build under Wine: on an 8- or 16-bit display /s paints the prepared
# desktop and animates it; on a display Windows sees as 32-bit it never
# paints (the desktop copy is refused: Wine shows the unpainted window
# black, and nothing on it ever moves) yet still closes on a mouse move.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SCR" ] || { echo "no Windows build at $DOVEZI_SCR"; exit 77; }
use_display
export WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all
depth=$(xdpyinfo | awk '/depth of root/ {print $5; exit}')

"$DOVEZI" --record "$WORK/desktop" --seconds 1 --size 1024x768 >/dev/null || fail "no desktop picture"
display -window root "$WORK/desktop/frame-0000.png" 2>/dev/null
wine reg add 'HKCU\Software\Tevrin\Dovezi\Settings' /v PLAYMIDI /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Tevrin\Dovezi\Settings' /v BACKGROUND /t REG_DWORD /d 5 /f >/dev/null 2>&1
import -window root "$WORK/desktop.png"

xdotool mousemove 300 200
wine "$DOVEZI_SCR" /s &
SAVER=$!
for _ in $(seq 300); do
    [ -n "$(xdotool search --class dovezi 2>/dev/null | head -1)" ] && break
    sleep 0.1
done
sleep 3
import -window root "$WORK/first.png"
sleep 1
import -window root "$WORK/second.png"
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
if [ "$depth" = 24 ]; then
    [ "$(differing "$WORK/first.png" "$WORK/second.png")" = 0 ] || fail "a 32-bit display was painted"
else
    [ "$(differing "$WORK/desktop.png" "$WORK/first.png")" != 0 ] || fail "the saver did not paint"
    [ "$(differing "$WORK/first.png" "$WORK/second.png")" != 0 ] || fail "nothing moved"
fi
kill -0 "$SAVER" 2>/dev/null || fail "the saver ended by itself"
xdotool mousemove 310 205
wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the saver"
wine reg delete 'HKCU\Software\Tevrin\Dovezi\Settings' /f >/dev/null 2>&1
echo "wine at depth $depth: ok"
