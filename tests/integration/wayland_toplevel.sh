#!/bin/bash
# The saver on a compositor without the layer shell: weston with its X11
# backend inside a private Xvfb, whose pictures show weston's output and
# whose pointer and keyboard are weston's seat. The saver covers the output
# with a full-screen window, hides the pointer, units march, and a key or a
# pointer move ends it, but not the pointer's first position.
set -u
. "$(dirname "$0")/lib.sh"
command -v weston >/dev/null && command -v Xvfb >/dev/null && command -v xdotool >/dev/null ||
    { echo "weston, Xvfb or xdotool missing: skipped"; exit 77; }
use_work
CHECK="$(dirname "$0")/wayland_check.py"
XVFB="$WORK/xvfb"
WESTON=
SAVER=
trap '[ -n "$SAVER" ] && kill "$SAVER" 2>/dev/null; [ -n "$WESTON" ] && kill "$WESTON" 2>/dev/null;
      "$(dirname "$0")/xvfb.sh" stop "$XVFB"; rm -rf "$WORK"' EXIT

BLUE=3070a0
# pixel FILE X Y: the colour at X,Y as rrggbb.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6 | tr A-F a-f; }
# Taller than weston's output: the pointer can leave its window and come back.
"$(dirname "$0")/xvfb.sh" start "$XVFB" 24 1280x800 || fail "no Xvfb"
export DISPLAY=":$(tr -d '[:space:]' <"$XVFB/display")"
printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff%s\npanel-position=none\nlocking=false\n' "$BLUE" \
    >"$WORK/weston.ini"
weston --backend=x11-backend.so --use-pixman --width=1280 --height=720 --socket=dovezi-weston \
    --config="$WORK/weston.ini" >"$WORK/weston.log" 2>&1 &
WESTON=$!
until_true 10 test -S "$XDG_RUNTIME_DIR/dovezi-weston" || { cat "$WORK/weston.log" >&2; fail "weston did not start"; }

mkdir -p "$XDG_CONFIG_HOME/Tevrin"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"PLAYMIDI"=dword:00000000\n"BACKGROUND"=dword:00000001\n' \
    >"$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"

# The pointer into weston's window from outside, so that weston follows it.
xdotool mousemove 640 780 sleep 0.3 mousemove 640 360
shown() { import -window root "$WORK/desktop.png" && [ "$(pixel "$WORK/desktop.png" 300 300)" = "$BLUE" ]; }
until_true 10 shown || fail "weston shows no desktop"

start_saver() {
    env -u DISPLAY WAYLAND_DISPLAY=dovezi-weston "$DOVEZI" -s 2>>"$WORK/saver.err" &
    SAVER=$!
}
covered() { import -window root "$WORK/covered.png" && [ "$(pixel "$WORK/covered.png" 300 300)" = 000000 ]; }
# black_at FILE X Y: the 12x18 pixels from X,Y are all black.
black_at() { [ "$(convert "$1" -crop "12x18+$2+$3" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ]; }

start_saver
until_true 10 covered || fail "the saver did not cover weston's output: $(cat "$WORK/saver.err")"
sleep 1
kill -0 "$SAVER" 2>/dev/null || fail "the saver closed itself: $(cat "$WORK/saver.err")"
import -window root "$WORK/march1.png"
shot_after_change root "$WORK/march1.png" "$WORK/march2.png" 20 || fail "no units march"
units_on_black() {
    import -window root "$WORK/march2.png"
    convert "$WORK/march2.png" -crop 1280x720+0+0 +repage "$WORK/output.png"
    [ "$("$CHECK" tallest "$WORK/output.png")" -gt 10 ]
}
until_true 10 units_on_black || fail "no units on black"
black_at "$WORK/march1.png" 640 360 || black_at "$WORK/march2.png" 640 360 || fail "the pointer shows over the saver"

sent=$(date +%s%3N)
xdotool key x
wait_for_exit "$SAVER" 3 || fail "a key did not end the saver"
echo "key to exit: $(($(date +%s%3N) - sent)) ms"
SAVER=

start_saver
until_true 10 covered || fail "the saver did not cover weston's output again"
sleep 1
kill -0 "$SAVER" 2>/dev/null || fail "the pointer's first position ended the saver"
sent=$(date +%s%3N)
xdotool mousemove_relative 5 5
wait_for_exit "$SAVER" 3 || fail "a pointer move did not end the saver"
echo "pointer move to exit: $(($(date +%s%3N) - sent)) ms"
SAVER=
echo "saver's messages: $(cat "$WORK/saver.err")"
[ -z "$(grep -v 'the desktop shows black' "$WORK/saver.err")" ] || fail "the saver said: $(cat "$WORK/saver.err")"
[ -n "${WAYLAND_SHOTS:-}" ] && cp "$WORK/output.png" "$WAYLAND_SHOTS/weston-full-screen.png"
echo "wayland toplevel: ok"
