#!/bin/bash
# Two copies of the display mode on one screen, as a daemon starts them for
# two monitors: exactly one holds the music; ended with SIGTERM, each leaves
# no process and no temporary song behind.
set -u
. "$(dirname "$0")/lib.sh"
use_display
unset XSCREENSAVER_WINDOW
FIRST=
SECOND=
trap '[ -n "$FIRST" ] && kill "$FIRST" 2>/dev/null; [ -n "$SECOND" ] && kill "$SECOND" 2>/dev/null; rm -rf "$WORK"' EXIT

# The holders of the music lock in this test's own runtime folder.
music_holders() {
    lslocks --noheadings -o PID,PATH 2>/dev/null |
        awk -v lock="$XDG_RUNTIME_DIR/dovezi-music.lock" '$2 == lock {print $1}' | sort -u
}

"$DOVEZI" --root &
FIRST=$!
for _ in $(seq 100); do
    [ -n "$(music_holders)" ] && break
    sleep 0.1
done
"$DOVEZI" --root &
SECOND=$!
sleep 1.5
kill -0 "$FIRST" 2>/dev/null && kill -0 "$SECOND" 2>/dev/null || fail "a copy ended by itself"

holders=$(music_holders)
[ "$holders" = "$FIRST" ] || fail "the music lock is held by '${holders}', not by the first copy $FIRST alone"
songs=$(find "$XDG_RUNTIME_DIR" -name 'Tvn*' | wc -l)
[ "$songs" = 1 ] || fail "$songs temporary songs, not the one of the music's owner"

kill -TERM "$FIRST"
wait_for_exit "$FIRST" 5 || fail "SIGTERM did not end the music's owner"
FIRST=
[ "$EXIT_STATUS" = 0 ] || fail "the owner exited with $EXIT_STATUS"
kill -TERM "$SECOND"
wait_for_exit "$SECOND" 5 || fail "SIGTERM did not end the silent copy"
SECOND=
[ -z "$(find "$XDG_RUNTIME_DIR" -name 'Tvn*')" ] || fail "a temporary song was left behind"
[ -z "$(own_pids "^$DOVEZI --root\$")" ] || fail "a copy is still running"
echo "root music: ok"
