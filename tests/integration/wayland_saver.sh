#!/bin/bash
# The saver on a headless sway: it covers every output (one, two, one added
# while it runs, one of scale 2), shows the desktop it copied or black with
# units marching, ends on a key, a pointer move or a click but not on the
# pointer's first position, keeps typed keys from the windows below, and is
# started by swayidle. Without an X server the sheet opens on Wayland and the
# preview says what it needs.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_lib.sh"
use_work
unset DISPLAY
CHECK="$(dirname "$0")/wayland_check.py"
trap 'wl_stop; rm -rf "$WORK"' EXIT

BLUE=3070a0
AMBER=a07030
GREEN=30a070

start_saver() {
    spawn_user "$WL/bin/Dovezi" -s 2>>"$WL/saver.err"
    SAVER=$SPAWNED
}

# covered OUTPUT X Y COLOUR: true once the pixel shows COLOUR on that output.
covered() {
    local shot="$WORK/covered.png"
    for _ in $(seq 100); do
        wl_shot "$shot" "$1" && [ "$(wl_pixel "$shot" "$2" "$3")" = "$4" ] && return 0
        sleep 0.1
    done
    return 1
}

ms() { date +%s%3N; }

# type_until CHECK...: types a key until CHECK is true, ten times at most,
# since the first keys of a new virtual keyboard may be lost; SENT is when
# the last one went.
type_until() {
    for _ in $(seq 10); do
        SENT=$(ms)
        as_user wtype x
        "$@" && return 0
    done
    return 1
}

# desktop_with_terminal OUTPUT_OPTIONS SHOT: one output with a terminal on
# it that records what it is typed, shot as the desktop.
desktop_with_terminal() {
    wl_start "output HEADLESS-1 mode 1280x720 position 0 0 $1
output * bg #$BLUE solid_color"
    spawn_user foot -W 40x10 sh -c "stty -icanon -echo; cat > $WL/typed" >/dev/null 2>&1
    until_true 10 test -e "$WL/typed" || fail "no terminal"
    sleep 1
    wl_shot "$2" HEADLESS-1
}

desktop_with_terminal "" "$WORK/desktop.png"

wl_settings 1
start_saver
covered HEADLESS-1 2 2 000000 || fail "the saver did not cover the output"
sleep 1
kill -0 "$SAVER" 2>/dev/null || fail "the saver closed itself: $(cat "$WL/saver.err")"
wl_shot "$WORK/black1.png" HEADLESS-1
changes HEADLESS-1 "$WORK/black1.png" "$WORK/black2.png" || fail "no units march on black"
sleep 2
wl_shot "$WORK/black2.png" HEADLESS-1
TALL1=$("$CHECK" tallest "$WORK/black2.png")
[ "$TALL1" -gt 10 ] || fail "no units on black"
cp "$WORK/black2.png" "$WORK/one-output-black.png"

# A key ends it, and the terminal below never sees it.
saver_gone() { wait_for_exit "$SAVER" 1; }
type_until saver_gone || fail "a key did not end the saver"
echo "key to exit: $(($(ms) - SENT)) ms"
[ ! -s "$WL/typed" ] || fail "the terminal received: $(cat "$WL/typed")"

# Normal: the desktop as it was, terminal and all, where no unit walks.
wl_settings 0
start_saver
changes HEADLESS-1 "$WORK/desktop.png" "$WORK/normal1.png" || fail "the saver did not paint"
sleep 0.5
changes HEADLESS-1 "$WORK/normal1.png" "$WORK/normal2.png" || fail "nothing moved on the desktop"
share=$("$CHECK" still-match "$WORK/desktop.png" "$WORK/normal1.png" "$WORK/normal2.png")
python3 -c "import sys; sys.exit(0 if $share >= 0.99 else 1)" || fail "the desktop is not shown as it was ($share)"
term=$("$CHECK" still-match "$WORK/desktop.png" "$WORK/normal1.png" "$WORK/normal2.png" 40 40 300 150)
python3 -c "import sys; sys.exit(0 if $term >= 0.99 else 1)" || fail "the terminal is not shown ($term)"
cp "$WORK/normal2.png" "$WORK/one-output-normal.png"
kill -TERM "$SAVER"; wait_for_exit "$SAVER" 5 || fail "the saver did not end on SIGTERM"

# The pointer: its first position is no move; a move and a click end it.
user_command "$WL/bin/virtual_pointer"
coproc POINTER { exec "${USER_COMMAND[@]}"; }
WL_PIDS="$WL_PIDS $POINTER_PID"
read -r ready <&"${POINTER[0]}" && [ "$ready" = ready ] || fail "no virtual pointer"
echo "move 600 300" >&"${POINTER[1]}"; read -r _ <&"${POINTER[0]}"
wl_settings 1
for action in "move 5 5" click; do
    start_saver
    covered HEADLESS-1 2 2 000000 || fail "the saver did not cover the output"
    sleep 1
    kill -0 "$SAVER" 2>/dev/null || fail "the pointer's first position ended the saver"
    sent=$(ms)
    echo "$action" >&"${POINTER[1]}"; read -r _ <&"${POINTER[0]}"
    wait_for_exit "$SAVER" 3 || fail "\"$action\" did not end the saver"
    echo "$action to exit: $(($(ms) - sent)) ms"
done
wl_stop

# Two outputs, each with its own part of the desktop; a third added later.
wl_start "output * bg #$GREEN solid_color
output HEADLESS-1 mode 1280x720 position 0 0 bg #$BLUE solid_color
output HEADLESS-2 mode 1280x720 position 1280 0 bg #$AMBER solid_color"
has_output() { as_user swaymsg -t get_outputs | grep -q "\"$1\""; }
as_user swaymsg create_output >/dev/null
until_true 10 has_output HEADLESS-2 || fail "no second output"
sleep 1
wl_settings 0
start_saver
for output in HEADLESS-1 HEADLESS-2; do
    wl_shot "$WORK/$output-start.png" "$output"
    changes "$output" "$WORK/$output-start.png" "$WORK/$output.png" || fail "no units on $output"
done
wl_near "$(wl_pixel "$WORK/HEADLESS-1.png" 2 2)" "$BLUE" || fail "the first output does not show its desktop"
wl_near "$(wl_pixel "$WORK/HEADLESS-2.png" 2 2)" "$AMBER" || fail "the second output does not show its desktop"
as_user swaymsg create_output >/dev/null
covered HEADLESS-3 2 2 000000 || fail "an output added while the saver runs is not covered"
wl_shot "$WORK/two-outputs.png"
kill -TERM "$SAVER"; wait_for_exit "$SAVER" 5 || fail "the saver did not end on SIGTERM"
wl_stop

# Scale 2: drawn at the output's device pixels, the units twice as large.
desktop_with_terminal "scale 2" "$WORK/desktop2.png"
wl_settings 0
start_saver
changes HEADLESS-1 "$WORK/desktop2.png" "$WORK/scaled1.png" || fail "the saver did not paint at scale 2"
sleep 0.5
changes HEADLESS-1 "$WORK/scaled1.png" "$WORK/scaled2.png" || fail "nothing moved at scale 2"
[ "$(identify -format %w "$WORK/scaled2.png")" = 1280 ] || fail "the scale-2 output is not 1280 pixels wide"
term=$("$CHECK" still-match "$WORK/desktop2.png" "$WORK/scaled1.png" "$WORK/scaled2.png" 80 80 400 200)
python3 -c "import sys; sys.exit(0 if $term >= 0.99 else 1)" || fail "the terminal is not shown at device pixels ($term)"
kill -TERM "$SAVER"; wait_for_exit "$SAVER" 5 || fail "the saver did not end on SIGTERM"
wl_settings 1
start_saver
covered HEADLESS-1 2 2 000000 || fail "the saver did not cover the scale-2 output"
wl_shot "$WORK/scaled-black1.png" HEADLESS-1
changes HEADLESS-1 "$WORK/scaled-black1.png" "$WORK/scaled-black.png" || fail "no units at scale 2"
sleep 2
wl_shot "$WORK/scaled-black.png" HEADLESS-1
TALL2=$("$CHECK" tallest "$WORK/scaled-black.png")
python3 -c "import sys; r = $TALL2 / $TALL1; print(f'units at scale 2: {r:.2f} times as tall'); sys.exit(0 if 1.5 <= r <= 3 else 1)" ||
    fail "the units are not twice as tall at scale 2 ($TALL2 against $TALL1 rows)"
kill -TERM "$SAVER"; wait_for_exit "$SAVER" 5 || fail "the saver did not end on SIGTERM"

# swayidle starts it after its timeout; a key ends it.
spawn_user swayidle -w timeout 2 "$WL/bin/Dovezi -s" >/dev/null 2>&1
covered HEADLESS-1 2 2 000000 || fail "swayidle did not start the saver"
idle_saver_gone() { ! pgrep -f "^$WL/bin/Dovezi -s" >/dev/null; }
type_until until_true 1 idle_saver_gone || fail "a key did not end the saver swayidle started"

# No X server: the sheet opens on Wayland; the preview says what it needs.
spawn_user "$WL/bin/Dovezi" -c >/dev/null 2>&1
SHEET=$SPAWNED
wl_shot "$WORK/empty.png" HEADLESS-1
changes HEADLESS-1 "$WORK/empty.png" "$WORK/sheet.png" || fail "the sheet did not open on Wayland"
kill "$SHEET"
as_user "$WL/bin/Dovezi" -p 123 2>"$WORK/preview.err" && fail "the preview ran without an X server"
grep -q "X server" "$WORK/preview.err" || fail "the preview did not say what it needs: $(cat "$WORK/preview.err")"
if [ -n "${WAYLAND_SHOTS:-}" ]; then
    cp "$WORK"/one-output-*.png "$WORK/two-outputs.png" "$WORK/scaled2.png" "$WORK/sheet.png" "$WAYLAND_SHOTS/"
fi
echo "wayland saver: ok"
