#!/bin/bash
# The X server dies under a saver that plays music: the saver still stops
# its music and removes its temporary song before it ends.
set -u
. "$(dirname "$0")/lib.sh"
use_work
SAVER=
trap '[ -n "$SAVER" ] && kill "$SAVER" 2>/dev/null; "$(dirname "$0")/xvfb.sh" stop "$WORK/xvfb"; rm -rf "$WORK"' EXIT
"$(dirname "$0")/xvfb.sh" start "$WORK/xvfb" 24 || fail "no private X server"
DISPLAY=":$(tr -d '[:space:]' <"$WORK/xvfb/display")"
export DISPLAY

"$DOVEZI" -s &
SAVER=$!
for _ in $(seq 100); do
    [ -n "$(find "$XDG_RUNTIME_DIR" -name 'Tvn*' 2>/dev/null)" ] && break
    sleep 0.1
done
[ -n "$(find "$XDG_RUNTIME_DIR" -name 'Tvn*')" ] || fail "the music did not start"
sleep 1
kill -KILL "$(cat "$WORK/xvfb/pid")"
wait_for_exit "$SAVER" 10 || fail "the saver outlived its display"
SAVER=
[ "$EXIT_STATUS" = 1 ] || fail "exit status $EXIT_STATUS"
[ -z "$(find "$XDG_RUNTIME_DIR" -name 'Tvn*')" ] || fail "the temporary song was left behind"
echo "lost display: ok"
