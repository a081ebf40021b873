#!/bin/bash
# The idle mode on one desktop (DESKTOP: "sway", "mutter" or "x11"): after
# the timeout without input it starts the saver, one at a time; input ends
# the saver, and the next timeout starts it again; SIGTERM ends the mode and
# its saver. Idleness comes from sway's idle protocol, GNOME's idle monitor
# on a private session bus, or an Xvfb's screen-saver extension; on GNOME
# the saver itself runs through X, on an Xvfb of the test's own, whose input
# the idle mode must not take for mutter's.
set -u
DESKTOP=$1
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_lib.sh"
use_work
unset DISPLAY
TIMEOUT=4
PIDS=
trap 'for pid in $PIDS; do kill "$pid" 2>/dev/null; done; wl_stop; xvfb_stop; rm -rf "$WORK"' EXIT

ms() { date +%s%3N; }

xvfb_stop() {
    [ -n "${XVFB:-}" ] && "$(dirname "$0")/xvfb.sh" stop "$XVFB"
    XVFB=
}

# own_xvfb: a private X server for the saver; sets DISPLAY.
own_xvfb() {
    XVFB=$WORK/xvfb
    "$(dirname "$0")/xvfb.sh" start "$XVFB" 24 || fail "no Xvfb"
    export DISPLAY=":$(tr -d '[:space:]' <"$XVFB/display")"
}

x_shot() { import -display "$DISPLAY" -window root "$1" 2>/dev/null; }

# settings FILE: the saver's settings there, black background, no music.
settings() {
    mkdir -p "$(dirname "$1")"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"PLAYMIDI"=dword:00000000\n"BACKGROUND"=dword:00000001\n' >"$1"
}

# The saver the idle mode runs: the one child of its process.
saver_of_idle() { pgrep -P "$IDLE"; }

# covered: true once the screen shows the saver's black.
covered() {
    for _ in $(seq 50); do
        "$SHOT" "$WORK/shot.png" && [ "$(wl_pixel "$WORK/shot.png" 2 2)" = 000000 ] && return 0
        sleep 0.2
    done
    return 1
}

# elapsed_in_bounds FROM TO WHAT: the time between two stamps is at least
# the timeout (less the rounding of the idle sources) and not far beyond it.
elapsed_in_bounds() {
    local elapsed=$(($2 - $1))
    echo "$3: $elapsed ms after the last input (timeout $((TIMEOUT * 1000)) ms)"
    [ "$elapsed" -ge $((TIMEOUT * 1000 - 300)) ] || fail "$3 came before the timeout"
    [ "$elapsed" -le $((TIMEOUT * 1000 + 15000)) ] || fail "$3 came long after the timeout"
}

# idle_cycle: with IDLE just started after one input at LAST_INPUT, the
# cycle of start, input, end and start again; INPUT sends input.
idle_cycle() {
    until_true 30 saver_of_idle || fail "no saver started: $(cat "$WORK/idle.err")"
    elapsed_in_bounds "$LAST_INPUT" "$(ms)" "first start"
    local first
    first=$(saver_of_idle)
    tr '\0' ' ' <"/proc/$first/cmdline" | grep -q -- ' -s $' || fail "the child is no saver: $(tr '\0' ' ' <"/proc/$first/cmdline")"
    covered || fail "the saver does not cover the screen: $(cat "$WORK/idle.err")"
    sleep $((TIMEOUT * 2))
    [ "$(saver_of_idle)" = "$first" ] || fail "not the one saver after two more timeouts: $(saver_of_idle | xargs)"
    local tries=0
    while kill -0 "$first" 2>/dev/null; do
        [ $((tries += 1)) -le 20 ] || fail "input did not end the saver"
        LAST_INPUT=$(ms)
        "$INPUT"
        until_true 1 sh -c "! kill -0 $first" && break
    done
    echo "input to the saver's end: $(($(ms) - LAST_INPUT)) ms"
    [ -n "${AFTER_END:-}" ] && "$AFTER_END"
    until_true 30 saver_of_idle || fail "no saver started again: $(cat "$WORK/idle.err")"
    elapsed_in_bounds "$LAST_INPUT" "$(ms)" "second start"
    local second
    second=$(saver_of_idle)
    kill -TERM "$IDLE"
    wait_for_exit "$IDLE" 10 || fail "the idle mode did not end on SIGTERM"
    [ "$EXIT_STATUS" = 0 ] || fail "the idle mode ended with $EXIT_STATUS on SIGTERM"
    kill -0 "$second" 2>/dev/null && fail "the saver outlived the idle mode"
    [ ! -s "$WORK/idle.err" ] || fail "the idle mode said: $(cat "$WORK/idle.err")"
}

# idle_cycle_here: the cycle with the idle mode run as the test's user.
idle_cycle_here() {
    LAST_INPUT=$(ms)
    "$DOVEZI" ${IDLE_DISPLAY:-} --idle-seconds "$TIMEOUT" 2>"$WORK/idle.err" &
    IDLE=$!
    PIDS="$PIDS $IDLE"
    idle_cycle
}

case "$DESKTOP" in
sway)
    wl_start "output HEADLESS-1 mode 1280x720 position 0 0
output * bg #3070a0 solid_color"
    wl_settings 1
    user_command "$WL/bin/virtual_pointer"
    coproc POINTER { exec "${USER_COMMAND[@]}"; }
    WL_PIDS="${WL_PIDS:-} $POINTER_PID"
    read -r ready <&"${POINTER[0]}" && [ "$ready" = ready ] || fail "no virtual pointer"
    pointer_move() {
        echo "move 5 5" >&"${POINTER[1]}"
        read -r _ <&"${POINTER[0]}"
    }
    SHOT=wl_shot_output
    wl_shot_output() { wl_shot "$1" HEADLESS-1; }
    INPUT=pointer_move
    pointer_move
    LAST_INPUT=$(ms)
    spawn_user "$WL/bin/Dovezi" --idle-seconds "$TIMEOUT" 2>"$WORK/idle.err"
    IDLE=$SPAWNED
    idle_cycle
    ;;
mutter)
    command -v mutter >/dev/null && command -v dbus-daemon >/dev/null || { echo "mutter missing: skipped"; exit 77; }
    own_xvfb
    settings "$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >/dev/null 2>&1 &
    PIDS="$PIDS $!"
    until_true 10 test -S "$XDG_RUNTIME_DIR/bus" || fail "no session bus"
    env -u DISPLAY mutter --headless --wayland --no-x11 --virtual-monitor 1280x720 \
        --wayland-display dovezi-idle >"$WORK/mutter.log" 2>&1 &
    PIDS="$PIDS $!"
    has_monitor() { busctl --user status org.gnome.Mutter.IdleMonitor; }
    until_true 60 has_monitor || fail "mutter did not start: $(tail -5 "$WORK/mutter.log")"
    export WAYLAND_DISPLAY=dovezi-idle
    mkfifo "$WORK/remote"
    "$REMOTE_INPUT" <"$WORK/remote" >"$WORK/remote.out" 2>&1 &
    PIDS="$PIDS $!"
    exec 5>"$WORK/remote"
    until_true 20 grep -q ready "$WORK/remote.out" || fail "no remote-desktop input: $(cat "$WORK/remote.out")"
    # Input reaches mutter through the remote desktop, and the saver on the
    # X server through XTEST. The saver is ended through X alone, and mutter
    # learns of input two seconds later: the idle mode counts from then.
    remote_move() {
        echo move >&5
        until_true 5 sh -c "[ \$(grep -c moved '$WORK/remote.out') -ge $((MOVES += 1)) ]" || fail "no remote move"
    }
    x_move() { xdotool mousemove_relative -- 5 5; }
    later_remote_move() {
        sleep 2
        LAST_INPUT=$(ms)
        remote_move
    }
    MOVES=0
    # mutter's headless output has no seat: the saver shows on the X server.
    IDLE_DISPLAY=--x11
    SHOT=x_shot
    INPUT=x_move
    AFTER_END=later_remote_move
    remote_move
    x_move
    idle_cycle_here
    ;;
x11)
    command -v xdotool >/dev/null || { echo "xdotool missing: skipped"; exit 77; }
    "$DOVEZI" --idle 2>"$WORK/err"
    [ $? = 2 ] && grep -q "whole number of minutes" "$WORK/err" || fail "no number: $(cat "$WORK/err")"
    "$DOVEZI" --idle 0.5 2>"$WORK/err"
    [ $? = 2 ] && grep -q 'not "0.5"' "$WORK/err" || fail "a bad number: $(cat "$WORK/err")"
    own_xvfb
    settings "$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
    SHOT=x_shot
    pointer_move() { xdotool mousemove_relative -- 5 5; }
    INPUT=pointer_move
    pointer_move
    idle_cycle_here
    ;;
esac
echo "idle mode on $DESKTOP: ok"
