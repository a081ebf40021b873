#!/bin/bash
# The preview lives inside a host window, follows its size, and the program
# ends when the host window goes.
set -u
. "$(dirname "$0")/lib.sh"
use_display

coproc HOST { "$HOST_WINDOW" 152 112; }
read -r host <&"${HOST[0]}" || fail "no host window"
"$DOVEZI" -p "$host" &
PREVIEW=$!
for _ in $(seq 50); do
    children=$(xwininfo -children -id "$host" | awk '/child(ren)?:/ {print $1}')
    [ "${children:-0}" -ge 1 ] 2>/dev/null && break
    sleep 0.1
done
[ "${children:-0}" -ge 1 ] 2>/dev/null || fail "no preview child in the host window"
child=$(xwininfo -children -id "$host" | awk '/^ +0x/ {print $1; exit}')
size=$(xwininfo -id "$child" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "152x112" ] || fail "preview is $size, not 152x112"
# resize_host WIDTH HEIGHT: the host takes that size and the preview follows.
resize_host() {
    xdotool windowsize "$host" "$1" "$2"
    for _ in $(seq 30); do
        size=$(xwininfo -id "$child" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
        [ "$size" = "$1x$2" ] && return 0
        sleep 0.1
    done
    fail "preview did not follow its host to $1x$2: $size"
}
resize_host 300 200
# A host as large as X allows is painted only where it can be seen.
resize_host 32767 32767
sleep 1
peak=$(awk '/VmHWM/ {print $2}' "/proc/$PREVIEW/status")
[ "${peak:-0}" -lt 400000 ] || fail "the preview of a huge host took $peak kB"
xdotool windowsize "$host" 300 200
xdotool mousemove --window "$host" 10 10 click 1 key a
sleep 0.5
kill -0 "$PREVIEW" 2>/dev/null || fail "input closed the preview"
echo >&"${HOST[1]}"
wait_for_exit "$PREVIEW" 2 || fail "the preview outlived its host"
[ "$EXIT_STATUS" = 0 ] || fail "preview exit status $EXIT_STATUS"
echo "preview: ok"
