#!/bin/bash
# The main job of `make run`: the saver on this display, or, where there is
# no display, a recording of it on an in-memory screen under out/.
set -euo pipefail
program=$1

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$program" -s
fi

folder="out/record-$(date +%Y%m%d-%H%M%S)"
"$program" --record "$folder" --seconds 10
echo "No display: recorded 10 seconds of the saver into $folder"
echo "  animation: $folder/parade.gif"
echo "  frames:    $folder/frame-0000.png ... $folder/frame-0010.png"
[ -f "$folder/music.wav" ] && echo "  music:     $folder/music.wav"
exit 0
