#!/bin/bash
# The Windows screen saver under Wine: /s opens a topmost window over the
# screen that closes on a mouse move, and the settings key path exists in
# the registry afterwards.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SCR" ] || { echo "no Windows build at $DOVEZI_SCR"; exit 77; }
use_display
export WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all

xdotool mousemove 300 200
wine "$DOVEZI_SCR" /s &
SAVER=$!
for _ in $(seq 300); do
    window=$(xdotool search --class 'dovezi' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "${window:-}" ] || fail "no saver window under Wine"
sleep 2
kill -0 "$SAVER" 2>/dev/null || fail "the saver ended by itself"
xdotool mousemove 310 205
wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the saver"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
wine reg query 'HKCU\Software\Tevrin\Dovezi\Settings' >/dev/null 2>&1 || fail "no settings key after a run"
echo "wine saver: ok"
