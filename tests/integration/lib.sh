# Shared helpers of the integration tests. The test's environment gives
# XVFB_STATE (the fixture's state folder) and DOVEZI (the program).

use_display() {
    DISPLAY=":$(tr -d '[:space:]' <"$XVFB_STATE/display")"
    export DISPLAY
    use_work
}

# use_work: a private folder $WORK holding the home, configuration and
# runtime folders, removed on exit.
use_work() {
    WORK=$(mktemp -d)
    export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/run"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # The program never starts a sound server of its own for a test.
    printf 'autospawn = no\n' >"$WORK/pulse-client.conf"
    export PULSE_CLIENTCONFIG="$WORK/pulse-client.conf"
    # The X tests never reach the compositor of a developer's session.
    unset WAYLAND_DISPLAY
    trap 'rm -rf "$WORK"' EXIT
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_for_exit PID SECONDS: true when the process ended in time; its exit
# status is left in EXIT_STATUS.
wait_for_exit() {
    local pid=$1 tenths=$(($2 * 10))
    for _ in $(seq "$tenths"); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# until_true SECONDS COMMAND...: true once COMMAND succeeds (its output
# dropped), tried every 0.1 s.
until_true() {
    local tenths=$(($1 * 10))
    shift
    for _ in $(seq "$tenths"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# wait_for_window NAME: the id of the first window with that name.
wait_for_window() {
    local id
    for _ in $(seq 50); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# use_wine: a private Wine prefix in $WORK made from the shared one
# ($WINE_PREFIX): its own registry and Wine server, the shared prefix's files
# reached through symbolic links (a copy would take more than a gigabyte).
use_wine() {
    export WINEPREFIX="$WORK/wine" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX/dosdevices"
    cp -as "$WINE_PREFIX/drive_c" "$WINEPREFIX/drive_c"
    find "$WINE_PREFIX" -maxdepth 1 -type f -exec cp -p {} "$WINEPREFIX" \;
    ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
    ln -s / "$WINEPREFIX/dosdevices/z:"
}

# end_wine: stops the private prefix's Wine server and every program it runs.
end_wine() {
    wineserver -k 2>/dev/null
}

# set_saver_value NAME DWORD: one of the saver's settings in the Wine registry.
set_saver_value() {
    wine reg add 'HKCU\Software\Tevrin\Dovezi\Settings' /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}

# differing A B [FUZZ]: how many pixels of picture A differ from picture B
# (by more than FUZZ, e.g. 5%). Either may name a part, FILE[WIDTHxHEIGHT+X+Y].
differing() {
    compare -metric AE ${3:+-fuzz "$3"} "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# shot_after_change WINDOW BEFORE AFTER SECONDS: pictures of WINDOW (an id,
# or root) into AFTER until one differs from the picture BEFORE; false when
# none does in time.
shot_after_change() {
    local deadline=$((SECONDS + $4))
    while [ $SECONDS -lt $deadline ]; do
        import -window "$1" "$3"
        [ "$(differing "$2" "$3")" != 0 ] && return 0
        sleep 0.2
    done
    return 1
}

# own_pids PATTERN: the processes whose command line matches PATTERN (as
# pgrep -f reads it) and that run with this test's private runtime folder:
# never another test's or another user's copy of the same program.
own_pids() {
    local pid
    for pid in $(pgrep -f -- "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$pid"
    done
}

# wait_until SECONDS CHECK REGION...: takes pictures of the root window into
# $WORK/root.png until CHECK holds for every region (WIDTHxHEIGHT+X+Y) of one.
# CHECK is called with the picture and the region.
wait_until() {
    local deadline=$((SECONDS + $1)) check=$2 region ready
    shift 2
    while [ $SECONDS -lt $deadline ]; do
        import -window root "$WORK/root.png"
        ready=1
        for region in "$@"; do
            "$check" "$WORK/root.png" "$region" || { ready=0; break; }
        done
        [ $ready = 1 ] && return 0
        sleep 0.2
    done
    return 1
}

# black_with_units PICTURE REGION: the region is black but for a few lit pixels.
black_with_units() {
    local share
    share=$(convert "$1[$2]" -fill white +opaque black -colorspace gray -format '%[fx:mean]' info:)
    awk -v share="$share" 'BEGIN { exit !(share > 0 && share < 0.25) }'
}

# moved PICTURE REGION: the region differs from $WORK/parade.png.
moved() {
    [ "$(differing "$WORK/parade.png[$2]" "$1[$2]")" != 0 ]
}
