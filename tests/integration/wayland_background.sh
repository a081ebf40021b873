#!/bin/bash
# The display mode on a headless sway: `Dovezi -root` draws the parade on
# the background layer, below a terminal that keeps the keyboard and runs
# what is typed into it; neither keys nor the pointer end it, and SIGTERM
# ends it silently with status 0.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_lib.sh"
use_work
unset DISPLAY XSCREENSAVER_WINDOW
CHECK="$(dirname "$0")/wayland_check.py"
trap 'wl_stop; rm -rf "$WORK"' EXIT

# No wallpaper program: the background takes its place, in white.
wl_start "output HEADLESS-1 mode 1280x720 position 0 0"
spawn_user foot -W 40x10 sh >/dev/null 2>&1
has_terminal() { as_user swaymsg -t get_tree | grep -q '"app_id": "foot"'; }
until_true 10 has_terminal || fail "no terminal"
sleep 1
wl_shot "$WORK/desktop.png" HEADLESS-1

wl_settings 2
spawn_user "$WL/bin/Dovezi" -root 2>"$WL/root.err"
ROOT=$SPAWNED
# shown SHOT: the background is white where no window and no lane is.
shown() { wl_shot "$1" HEADLESS-1 && wl_near "$(wl_pixel "$1" 1200 390)" ffffff; }
until_true 10 shown "$WORK/root1.png" || fail "the background is not drawn: $(cat "$WL/root.err")"
for _ in $(seq 100); do
    wl_shot "$WORK/root2.png" HEADLESS-1
    [ "$(compare -metric AE "$WORK/root1.png" "$WORK/root2.png" null: 2>&1 | cut -d' ' -f1)" != 0 ] && break
    sleep 0.2
done
sleep 2
wl_shot "$WORK/root2.png" HEADLESS-1
convert "$WORK/root2.png" -negate "$WORK/negated.png"
[ "$("$CHECK" tallest "$WORK/negated.png")" -gt 10 ] || fail "no units march on the background"
term=$("$CHECK" still-match "$WORK/desktop.png" "$WORK/root1.png" "$WORK/root2.png" 44 44 200 100)
python3 -c "import sys; sys.exit(0 if $term >= 0.99 else 1)" || fail "the terminal is not shown above the parade ($term)"

# Keys typed go on reaching the terminal, which runs them.
ran() { until_true 1 test -e "$WL/ran"; }
for _ in $(seq 10); do
    # A new virtual keyboard may lose its first key: that one is a blank line.
    as_user wtype -k Return -s 200 "touch $WL/ran" -k Return
    ran && break
done
ran || fail "a command typed into the terminal did not run"
sleep 0.5
wl_shot "$WORK/typed.png" HEADLESS-1

# The pointer over the background, moved and clicked: no end.
user_command "$WL/bin/virtual_pointer"
coproc POINTER { exec "${USER_COMMAND[@]}"; }
WL_PIDS="$WL_PIDS $POINTER_PID"
read -r ready <&"${POINTER[0]}" && [ "$ready" = ready ] || fail "no virtual pointer"
for action in "move 900 500" "move 5 5" click; do
    echo "$action" >&"${POINTER[1]}"
    read -r _ <&"${POINTER[0]}"
done
sleep 1
kill -0 "$ROOT" 2>/dev/null || fail "input ended the background: $(cat "$WL/root.err")"

kill -TERM "$ROOT"
wait_for_exit "$ROOT" 5 || fail "SIGTERM did not end the background"
[ "$EXIT_STATUS" = 0 ] || fail "the background ended with status $EXIT_STATUS"
[ ! -s "$WL/root.err" ] || fail "the background said: $(cat "$WL/root.err")"
[ -n "${WAYLAND_SHOTS:-}" ] && cp "$WORK/typed.png" "$WAYLAND_SHOTS/wayland-background.png"
echo "wayland background: ok"
