#!/bin/bash
# The saver on a headless sway beside the same saver on Xvfb, both at
# 1920x1080 in one run, each with its display server: the first frame (from
# the start to the output showing the saver's black background, as the
# probe reads the middle pixel: on Wayland at every frame of the output, on
# X11 every millisecond; median of seven), the share of a core
# that the saver and its server take together at the default speed (after a
# 2 s warm-up, 15 s), the server's own share over as long before the saver
# starts (headless sway wakes 60 times a second with no client at all), and
# the saver's peak memory per pixel above the same saver on a 320x240 output.
#   bench/desktops.sh BUILD_DIR OUT.json
set -u
here=$(cd "$(dirname "$0")" && pwd)
export DOVEZI="$1/Dovezi" VIRTUAL_POINTER="$1/tests/integration/virtual_pointer"
PROBE="$1/bench/first_frame_probe"
out=$2
. "$here/../tests/integration/lib.sh"
. "$here/../tests/integration/wayland_lib.sh"
use_work
unset DISPLAY
XVFB=
trap 'wl_stop; [ -n "$XVFB" ] && kill "$XVFB"; rm -rf "$WORK"' EXIT

# The microseconds that a process's threads have run.
run_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s / 1000}'; }
# core_pct US_BEFORE US_AFTER MS_BEGAN: the share of a core since MS_BEGAN.
core_pct() { python3 -c "print(($2 - $1) / 10 / ($(now_ms) - $3))"; }
WINDOW_S=15
hwm_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
now_ms() { date +%s%3N; }

# measure NAME SERVER_PID PROBE START_SAVER: the three figures of one display.
measure() {
    local name=$1 server=$2 probe=$3 start=$4 rounds=() pid shown
    set_background 1
    for _ in 1 2 3 4 5 6 7; do
        shown=$($probe) || fail "$name: the saver never covered the screen"
        rounds+=("$shown")
    done
    FIRST=$(printf '%s\n' "${rounds[@]}" | median)
    set_background 0
    local before=$(run_us "$server") began=$(now_ms)
    sleep $WINDOW_S
    SERVER_IDLE=$(core_pct "$before" "$(run_us "$server")" "$began")
    $start
    pid=$SPAWNED
    sleep 2
    local saver_before=$(run_us "$pid")
    before=$((saver_before + $(run_us "$server"))) began=$(now_ms)
    sleep $WINDOW_S
    local saver_after=$(run_us "$pid")
    CPU=$(core_pct "$before" $((saver_after + $(run_us "$server"))) "$began")
    SAVER_CPU=$(core_pct "$saver_before" "$saver_after" "$began")
    HWM=$(hwm_kb "$pid")
    kill "$pid"; wait "$pid" 2>/dev/null
    echo "$name: first frame $FIRST ms, CPU $CPU % with its server (the saver $SAVER_CPU %, the server alone $SERVER_IDLE %), peak $HWM kB" >&2
}

# Wayland.
wl_desktop() {
    wl_start "output HEADLESS-1 mode $1 position 0 0
output * bg #3070a0 solid_color"
    wl_settings 0
    SERVER=$WL_PID
    cp "$PROBE" "$WL/bin/first_frame_probe"
}
set_background() { [ -n "${WL:-}" ] && wl_settings "$1" || x_settings "$1"; }
wl_saver() { spawn_user "$WL/bin/Dovezi" -s; }
wl_probe() { as_user "$WL/bin/first_frame_probe" wayland 960 540 "$WL/bin/Dovezi" -s; }
# small_then_large NAME DESKTOP STOP PROBE SAVER: the saver's peak on a
# small output, then the figures on a large one.
small_then_large() {
    local small
    $2 320x240
    $5
    small=$SPAWNED
    sleep 3
    SMALL=$(hwm_kb "$small")
    kill "$small"
    wait "$small" 2>/dev/null
    $3
    $2 1920x1080
    measure "$1" "$SERVER" "$4" "$5"
    BPP=$(python3 -c "print(($HWM - $SMALL) * 1024 / (1920 * 1080 - 320 * 240))")
    $3
}

small_then_large wayland wl_desktop wl_stop wl_probe wl_saver
W_FIRST=$FIRST W_CPU=$CPU W_SAVER=$SAVER_CPU W_IDLE=$SERVER_IDLE W_BPP=$BPP

# X11.
x_settings() {
    mkdir -p "$XDG_CONFIG_HOME/Tevrin"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"PLAYMIDI"=dword:00000000\n"BACKGROUND"=dword:%08x\n' \
        "$1" >"$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
}
x_desktop() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -wr -nolisten tcp 3>"$WORK/display" 2>/dev/null &
    XVFB=$!
    until_true 10 test -s "$WORK/display" || fail "Xvfb did not start"
    export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
    SERVER=$XVFB
}
x_stop() { kill "$XVFB"; wait "$XVFB" 2>/dev/null; XVFB=; rm -f "$WORK/display"; unset DISPLAY; }
x_saver() { "$DOVEZI" --x11 -s & SPAWNED=$!; }
x_probe() { "$PROBE" x11 960 540 "$DOVEZI" --x11 -s; }
x_settings 0
small_then_large x11 x_desktop x_stop x_probe x_saver
X_FIRST=$FIRST X_CPU=$CPU X_SAVER=$SAVER_CPU X_IDLE=$SERVER_IDLE X_BPP=$BPP

cat >"$out" <<JSON
{"benchmarks": [
 {"name": "Desktop/display:wayland/width:1920", "first_frame_ms": $W_FIRST, "cpu_pct": $W_CPU, "saver_pct": $W_SAVER,
  "server_alone_pct": $W_IDLE, "cpu_over_server_pct": $(python3 -c "print($W_CPU - $W_IDLE)"), "bytes_per_pixel": $W_BPP},
 {"name": "Desktop/display:x11/width:1920", "first_frame_ms": $X_FIRST, "cpu_pct": $X_CPU, "saver_pct": $X_SAVER,
  "server_alone_pct": $X_IDLE, "cpu_over_server_pct": $(python3 -c "print($X_CPU - $X_IDLE)"), "bytes_per_pixel": $X_BPP}
]}
JSON
