#!/bin/bash
# The record mode's own input and output: a desktop picture that is no
# regular file, or too large a screen, is refused with a message; a
# music.wav that cannot be written fails the recording; a picture of another
# size fills the screen; an end signal ends the recording early with every
# file whole and the temporary song gone.
set -u
. "$(dirname "$0")/lib.sh"
use_work
WRITER=
RECORDER=
trap '[ -n "$WRITER" ] && kill "$WRITER" 2>/dev/null; [ -n "$RECORDER" ] && kill "$RECORDER" 2>/dev/null; rm -rf "$WORK"' EXIT

refused() {
    local picture=$1 words
    shift
    words=$(timeout 20 "$DOVEZI" --record "$WORK/out" --seconds 1 "$@" --desktop "$picture" 2>&1)
    local status=$?
    [ "$status" = 1 ] && [ -n "$words" ] || fail "--desktop $picture: status $status, '$words'"
}
mkfifo "$WORK/fifo"
sleep 60 <>"$WORK/fifo" &
WRITER=$!
refused "$WORK"
refused /dev/zero
refused "$WORK/fifo"
convert -size 9000x90 xc:red "$WORK/wide.png"
refused "$WORK/wide.png"

mkdir -p "$WORK/blocked/music.wav"
"$DOVEZI" --record "$WORK/blocked" --seconds 1 --size 160x120 2>/dev/null && fail "an unwritable music.wav was not reported"

convert -size 400x300 xc:red "$WORK/red.png"
"$DOVEZI" --record "$WORK/filled" --seconds 1 --size 640x360 --desktop "$WORK/red.png" || fail "no recording"
[ "$(convert "$WORK/filled/frame-0000.png" -format '%[fx:p{639,359}.r>0.9&&p{639,359}.g<0.1]' info:)" = 1 ] ||
    fail "the picture does not fill the screen"

"$DOVEZI" --record "$WORK/stopped" --seconds 3600 --size 160x120 &
RECORDER=$!
for _ in $(seq 100); do
    [ -n "$(ls "$WORK/stopped"/frame-0002.png 2>/dev/null)" ] && break
    sleep 0.1
done
kill -TERM "$RECORDER"
wait_for_exit "$RECORDER" 20 || fail "SIGTERM did not end the recording"
RECORDER=
[ "$EXIT_STATUS" = 0 ] || fail "the stopped recording exited with $EXIT_STATUS"
[ "$(tail -c 1 "$WORK/stopped/parade.gif" | od -An -tx1 | tr -d ' ')" = 3b ] || fail "the GIF has no trailer"
if [ -f "$WORK/stopped/music.wav" ]; then
    samples=$(soxi -s "$WORK/stopped/music.wav")
    [ "$samples" -ge 88200 ] || fail "music.wav says it holds $samples samples"
fi
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "left behind: $(ls -A "$XDG_RUNTIME_DIR")"
echo "record files: ok"
