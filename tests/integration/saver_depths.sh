#!/bin/bash
# On a display of the fixture's depth the saver shows the prepared desktop
# with units moving in the lanes: two screenshots a moment apart differ, and
# only inside the lanes, and at 16 and 24 bits the desktop between the lanes
# keeps every colour it had. The preview in a small host window moves as well.
set -u
. "$(dirname "$0")/lib.sh"
use_display
SAVER=
PREVIEW=
trap '[ -n "$SAVER" ] && kill "$SAVER" 2>/dev/null; [ -n "$PREVIEW" ] && kill "$PREVIEW" 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$XDG_CONFIG_HOME/Tevrin"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"PLAYMIDI"=dword:00000000\n' \
    >"$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"

"$DOVEZI" --record "$WORK/desktop" --seconds 1 --size 1024x768 >/dev/null || fail "no desktop picture"
display -window root "$WORK/desktop/frame-0000.png" 2>/dev/null
import -window root "$WORK/desktop.png"
depth=$(xdpyinfo | awk '/depth of root/ {print $5; exit}')

"$DOVEZI" -s &
SAVER=$!
wait_for_window Dovezi >/dev/null || fail "no saver window"
import -window root "$WORK/shown.png"
shot_after_change root "$WORK/shown.png" "$WORK/first.png" 30 || fail "the saver did not paint"
shot_after_change root "$WORK/first.png" "$WORK/second.png" 30 || fail "nothing moved"
kill -TERM "$SAVER"
wait_for_exit "$SAVER" 5 || fail "the saver did not end"
SAVER=
# The rows between the lanes of a 768-pixel screen (the gap is 61 pixels).
for gap in 52 157 281 382 530 644; do
    convert "$WORK/first.png" -crop "1024x61+0+$gap" +repage "$WORK/a.png"
    convert "$WORK/second.png" -crop "1024x61+0+$gap" +repage "$WORK/b.png"
    [ "$(differing "$WORK/a.png" "$WORK/b.png")" = 0 ] || fail "the gap below row $gap changed"
    if [ "$depth" = 16 ] || [ "$depth" = 24 ]; then
        convert "$WORK/desktop.png" -crop "1024x61+0+$gap" +repage "$WORK/d.png"
        [ "$(differing "$WORK/d.png" "$WORK/a.png")" = 0 ] || fail "the desktop below row $gap lost colours"
    fi
done

coproc HOST { "$HOST_WINDOW" 256 192; }
read -r host <&"${HOST[0]}" || fail "no host window"
import -window "$host" "$WORK/host.png"
"$DOVEZI" -p "$host" &
PREVIEW=$!
shot_after_change "$host" "$WORK/host.png" "$WORK/preview1.png" 30 || fail "the preview did not paint"
shot_after_change "$host" "$WORK/preview1.png" "$WORK/preview2.png" 30 || fail "the preview did not move"
echo >&"${HOST[1]}"
wait_for_exit "$PREVIEW" 5 || fail "the preview outlived its host"
PREVIEW=
echo "saver at depth $depth: ok"
