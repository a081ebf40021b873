#!/bin/bash
# The X11 saver through the X server of a headless sway (forced with
# --x11): the compositor's X window manager moves the focus while the saver
# holds its grabs, which ends nothing, so the saver is still there 1.5 s after
# every one of ten starts; the desktop the X server cannot show is black,
# told in one line.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_lib.sh"
use_work
command -v Xwayland >/dev/null || { echo "no Xwayland: skipped"; exit 77; }
trap 'wl_stop; rm -rf "$WORK"' EXIT
STARTS=10

WL_XWAYLAND=enable wl_start 'output HEADLESS-1 resolution 1024x600'
wl_settings 0
# The compositor's clients learn its X display from its environment, once
# its X server is up.
x_display_known() {
    as_user swaymsg exec "echo \$DISPLAY >$WL/display" >/dev/null
    sleep 0.2
    grep -q : "$WL/display"
}
until_true 20 x_display_known || fail "sway gave no X display"
X_DISPLAY=$(cat "$WL/display")

running=0
for start in $(seq "$STARTS"); do
    user_command env DISPLAY="$X_DISPLAY" "$WL/bin/Dovezi" --x11 -s
    "${USER_COMMAND[@]}" 2>"$WL/saver.err" &
    saver=$!
    sleep 1.5
    if kill -0 "$saver" 2>/dev/null; then
        running=$((running + 1))
        kill "$saver"
    fi
    wait "$saver" 2>/dev/null
done
echo "still running 1.5 s after the start in $running of $STARTS starts"
[ "$running" = "$STARTS" ] || fail "the saver ended by itself $((STARTS - running)) times: $(cat "$WL/saver.err")"
grep -q "desktop" "$WL/saver.err" || fail "nothing said about the desktop the X server cannot show"
[ "$(wc -l <"$WL/saver.err")" = 1 ] || fail "more than one line: $(cat "$WL/saver.err")"
echo "xwayland saver: ok"
