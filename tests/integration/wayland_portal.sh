#!/bin/bash
# The saver on a headless sway with two outputs, told to skip screencopy, so
# that it copies the desktop through the desktop portal on a private session
# bus: the Normal background shows each output's desktop. With the portal
# stopped, and then gone, one line on standard error says why and the
# desktop is black, the saver having waited 3 s for it at the most.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_lib.sh"
use_work
LIBEXEC=/usr/libexec
CHECK="$(dirname "$0")/wayland_check.py"
for program in dbus-daemon pipewire foot $LIBEXEC/xdg-desktop-portal $LIBEXEC/xdg-desktop-portal-wlr \
    $LIBEXEC/xdg-desktop-portal-gtk; do
    command -v "$program" >/dev/null || { echo "$program missing: skipped"; exit 77; }
done
# The portal's wlr backend always writes this file; one of another user's
# makes it refuse.
PICTURE=/tmp/out.png
OWNER=$(id -u)
[ "$OWNER" = 0 ] && OWNER=$WL_UID
if [ -e "$PICTURE" ] && [ "$(stat -c %u "$PICTURE")" != "$OWNER" ]; then
    echo "$PICTURE belongs to another user: skipped"
    exit 77
fi
FRONTEND=
stop_all() {
    [ -n "$FRONTEND" ] && kill -CONT "$FRONTEND" 2>/dev/null
    wl_stop
    rm -rf "$WORK"
}
trap stop_all EXIT

BLUE=3070a0
AMBER=a07030

wl_start "output HEADLESS-1 mode 1280x720 position 0 0 bg #$BLUE solid_color
output HEADLESS-2 mode 1280x720 position 1280 0 bg #$AMBER solid_color"
spawn_user foot -W 40x10 sh -c "echo the desktop; touch $WL/shown; exec sleep 600" >/dev/null 2>&1
until_true 10 test -e "$WL/shown" || fail "no terminal"
has_output() { as_user swaymsg -t get_outputs | grep -q "\"$1\""; }
as_user swaymsg create_output >/dev/null
until_true 10 has_output HEADLESS-2 || fail "no second output"

# A session bus of the test's own that starts nothing by itself, and the
# portal's services on it in the order they need each other.
cat >"$WL/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:path=$WL/run/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
spawn_user dbus-daemon --config-file="$WL/bus.conf" --nofork --nopidfile
until_true 10 test -S "$WL/run/bus" || fail "no session bus"
portal_service() {
    spawn_user env XDG_CURRENT_DESKTOP=sway DBUS_SESSION_BUS_ADDRESS="unix:path=$WL/run/bus" GDK_BACKEND=wayland \
        "$@" >>"$WL/portal.log" 2>&1
}
on_bus() {
    as_user env DBUS_SESSION_BUS_ADDRESS="unix:path=$WL/run/bus" dbus-send --session --print-reply \
        --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" |
        grep -q "boolean true"
}
portal_service pipewire
until_true 10 test -S "$WL/run/pipewire-0" || fail "no PipeWire: $(cat "$WL/portal.log")"
portal_service $LIBEXEC/xdg-desktop-portal-wlr
until_true 10 on_bus org.freedesktop.impl.portal.desktop.wlr || fail "no wlr portal: $(cat "$WL/portal.log")"
portal_service $LIBEXEC/xdg-desktop-portal-gtk
until_true 10 on_bus org.freedesktop.impl.portal.desktop.gtk || fail "no gtk portal: $(cat "$WL/portal.log")"
portal_service $LIBEXEC/xdg-desktop-portal
FRONTEND=$SPAWNED
until_true 10 on_bus org.freedesktop.portal.Desktop || fail "no desktop portal: $(cat "$WL/portal.log")"
sleep 1
for output in HEADLESS-1 HEADLESS-2; do
    wl_shot "$WORK/$output-desktop.png" "$output"
done

ms() { date +%s%3N; }
start_saver() {
    STARTED=$(ms)
    : >"$WL/saver.err"
    spawn_user env DOVEZI_SKIP_SCREENCOPY=1 "$WL/bin/Dovezi" -s 2>>"$WL/saver.err"
    SAVER=$SPAWNED
}
stop_saver() {
    kill -TERM "$SAVER"
    wait_for_exit "$SAVER" 5 || fail "the saver did not end on SIGTERM"
}

# Normal: each output shows its own part of the portal's picture.
wl_settings 0
start_saver
for output in HEADLESS-1 HEADLESS-2; do
    desktop="$WORK/$output-desktop.png"
    changes "$output" "$desktop" "$WORK/$output-1.png" || fail "the saver did not paint $output"
    sleep 0.5
    changes "$output" "$WORK/$output-1.png" "$WORK/$output-2.png" || fail "nothing moved on $output"
    share=$("$CHECK" still-match "$desktop" "$WORK/$output-1.png" "$WORK/$output-2.png")
    echo "$output shows its desktop in $share of its still pixels"
    python3 -c "import sys; sys.exit(0 if $share >= 0.99 else 1)" || fail "$output does not show its desktop ($share)"
done
[ ! -s "$WL/saver.err" ] || fail "the saver complained: $(cat "$WL/saver.err")"
[ ! -e "$PICTURE" ] || fail "the portal's picture was left behind"
wl_shot "$WORK/portal-normal.png"
stop_saver

# black_within SECONDS WORDS: the one line says WORDS and both outputs are
# covered in black within SECONDS of the start.
black_within() {
    local shot="$WORK/black.png" covered=
    for _ in $(seq 100); do
        wl_shot "$shot" && [ "$(wl_pixel "$shot" 2 2)" = 000000 ] && [ "$(wl_pixel "$shot" 1282 2)" = 000000 ] &&
            covered=$(ms) && break
        sleep 0.1
    done
    [ -n "$covered" ] || fail "the saver did not cover the outputs in black"
    echo "covered in black $((covered - STARTED)) ms after the start"
    [ $((covered - STARTED)) -le $(($1 * 1000)) ] || fail "covered only $((covered - STARTED)) ms after the start"
    until_true 2 grep -q . "$WL/saver.err"
    [ "$(wc -l <"$WL/saver.err")" = 1 ] || fail "not one line on standard error: $(cat "$WL/saver.err")"
    grep -q "$2" "$WL/saver.err" || fail "the line does not say \"$2\": $(cat "$WL/saver.err")"
    cat "$WL/saver.err"
}

# A portal that does not answer: the saver gives up after 3 s.
kill -STOP "$FRONTEND"
start_saver
black_within 6 "did not answer within 3 s"
stop_saver
# No portal on the bus: the saver says so at once.
kill -CONT "$FRONTEND"
kill "$FRONTEND"
wait "$FRONTEND" 2>/dev/null
FRONTEND=
start_saver
black_within 3 "no desktop portal"
stop_saver

if [ -n "${WAYLAND_SHOTS:-}" ]; then
    cp "$WORK/portal-normal.png" "$WAYLAND_SHOTS/"
fi
echo "wayland portal: ok"
