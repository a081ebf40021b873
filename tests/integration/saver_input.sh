#!/bin/bash
# The full-screen saver covers the screen, ignores what the rules say it
# must ignore and closes on everything else.
set -u
. "$(dirname "$0")/lib.sh"
use_display
SAVER=
WRITER=
trap '[ -n "$SAVER" ] && kill "$SAVER" 2>/dev/null; [ -n "$WRITER" ] && kill "$WRITER" 2>/dev/null; rm -rf "$WORK"' EXIT

start_saver() {
    xdotool mousemove 200 150
    "$DOVEZI" -s &
    SAVER=$!
    WINDOW=$(wait_for_window Dovezi) || fail "no saver window"
    sleep 0.3
}

expect_closed() {
    wait_for_exit "$SAVER" 1 || fail "$1 did not close the saver within a second"
    [ "$EXIT_STATUS" = 0 ] || fail "$1: exit status $EXIT_STATUS"
}

expect_running() {
    sleep 0.5
    kill -0 "$SAVER" 2>/dev/null || fail "$1 closed the saver"
}

start_saver
geometry=$(xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
screen=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$geometry" = "$screen" ] || fail "window $geometry does not cover the screen $screen"
xdotool click 4
xdotool click 5
expect_running "the wheel"
xdotool mousemove_relative 400 0
expect_closed "the first movement"

start_saver
xdotool mousemove 200 150
expect_running "a report at the first position"
xdotool mousemove 201 150
expect_closed "one pixel of movement"

for key in a Alt_L Escape; do
    start_saver
    xdotool key "$key"
    expect_closed "key $key"
done

for button in 1 2 3; do
    start_saver
    xdotool click "$button"
    expect_closed "button $button"
done

xdotool keydown b
start_saver
xdotool keyup b
expect_running "a key release"
kill -TERM "$SAVER"
expect_closed "SIGTERM"

# A song that is a pipe a writer holds open never stands between the user
# and the end of the saver.
mkfifo "$WORK/song.mid"
sleep 600 <>"$WORK/song.mid" &
WRITER=$!
mkdir -p "$XDG_CONFIG_HOME/Tevrin"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"MIDIFILE"=dword:00000001\n"MIDIFILEPATH"="%s"\n' \
    "$WORK/song.mid" >"$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
start_saver
xdotool key a
expect_closed "a key, with a pipe for a song"
echo "saver input: ok"
