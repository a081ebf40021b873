# Helpers of the Wayland tests: a private headless sway, run with the saver
# and its tools as an unprivileged user (sway refuses to run as root), in a
# folder of that user's that the test removes. The environment gives DOVEZI
# and VIRTUAL_POINTER.

WL_UID=65534
# wl_start CONFIG_LINES: a new compositor with that configuration; sets WL
# (the folder), WL_PID and the environment its clients get. WL_XWAYLAND=enable
# gives it an X server too.
wl_start() {
    command -v sway >/dev/null && command -v grim >/dev/null || { echo "sway or grim missing: skipped"; exit 77; }
    WL=$(mktemp -d /tmp/dovezi-wayland.XXXXXX)
    mkdir -p "$WL/run" "$WL/home" "$WL/config/Tevrin" "$WL/bin"
    cp "$DOVEZI" "$WL/bin/Dovezi"
    cp "$(dirname "$DOVEZI")/dovezi-sheet.so" "$WL/bin/"
    cp "$VIRTUAL_POINTER" "$WL/bin/virtual_pointer"
    printf '%s\n' "$1" "xwayland ${WL_XWAYLAND:-disable}" 'for_window [app_id="foot"] floating enable, move position 40 40' >"$WL/sway.conf"
    chmod 700 "$WL/run"
    [ "$(id -u)" = 0 ] && chown -R "$WL_UID:$WL_UID" "$WL"
    chmod 755 "$WL"
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1 \
        user_command sway -c "$WL/sway.conf"
    "${USER_COMMAND[@]}" >"$WL/sway.log" 2>&1 &
    WL_PID=$!
    local socket=
    for _ in $(seq 100); do
        socket=$(cd "$WL/run" && ls wayland-* 2>/dev/null | grep -v lock | head -1)
        [ -n "$socket" ] && ls "$WL/run"/sway-ipc.* >/dev/null 2>&1 && break
        sleep 0.1
    done
    [ -n "$socket" ] || { cat "$WL/sway.log" >&2; fail "sway did not start"; }
    WL_SOCKET=$socket
}

# user_command COMMAND...: USER_COMMAND runs COMMAND as the unprivileged
# user, with the compositor's environment and nothing else of the test's;
# started with & its PID is that of COMMAND. SWAYSOCK always names the
# compositor's socket in the private folder (before sway runs, where it is to
# make it): sway given an empty one binds the one abstract socket of that
# name, which another sway on the machine may hold.
user_command() {
    local ipc
    ipc=$(ls "$WL/run"/sway-ipc.* 2>/dev/null | head -1)
    [ -n "$ipc" ] || ipc="$WL/run/sway-ipc.sock"
    local environment=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$WL/home" XDG_CONFIG_HOME="$WL/config"
        XDG_RUNTIME_DIR="$WL/run" WAYLAND_DISPLAY="${WL_SOCKET:-}" ${ipc:+"SWAYSOCK=$ipc"}
        WLR_BACKENDS="${WLR_BACKENDS:-}" WLR_RENDERER="${WLR_RENDERER:-}"
        WLR_LIBINPUT_NO_DEVICES="${WLR_LIBINPUT_NO_DEVICES:-}" WLR_HEADLESS_OUTPUTS="${WLR_HEADLESS_OUTPUTS:-}"
        WAYLAND_DEBUG="${WAYLAND_DEBUG:-}" LANG=C.UTF-8)
    if [ "$(id -u)" = 0 ]; then
        USER_COMMAND=(setpriv --reuid="$WL_UID" --regid="$WL_UID" --clear-groups env -i "${environment[@]}" "$@")
    else
        USER_COMMAND=(env -i "${environment[@]}" "$@")
    fi
}

as_user() {
    user_command "$@"
    "${USER_COMMAND[@]}"
}

# spawn_user COMMAND...: COMMAND as the user in the background; its PID is
# added to those that wl_stop ends.
spawn_user() {
    user_command "$@"
    "${USER_COMMAND[@]}" &
    SPAWNED=$!
    WL_PIDS="${WL_PIDS:-} $SPAWNED"
}

# wl_stop: ends what the test started there, by PID, and removes the folder.
wl_stop() {
    for pid in ${WL_PIDS:-} ${WL_PID:-}; do
        kill "$pid" 2>/dev/null
    done
    for pid in ${WL_PIDS:-} ${WL_PID:-}; do
        wait "$pid" 2>/dev/null
    done
    WL_PIDS= WL_PID=
    [ -n "${WL:-}" ] && rm -rf "$WL"
    WL=
}

# wl_settings BACKGROUND: the saver's settings, without music.
wl_settings() {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"PLAYMIDI"=dword:00000000\n"BACKGROUND"=dword:%08x\n' \
        "$1" >"$WL/config/Tevrin/Dovezi.reg"
    [ "$(id -u)" = 0 ] && chown "$WL_UID:$WL_UID" "$WL/config/Tevrin/Dovezi.reg"
    true
}

# wl_shot FILE [OUTPUT]: a screenshot of the layout or of one output.
wl_shot() {
    if [ -n "${2:-}" ]; then
        as_user grim -o "$2" - >"$1"
    else
        as_user grim - >"$1"
    fi
}

# changes OUTPUT FIRST SECOND: a shot of the output that differs from FIRST within 20 s.
changes() {
    for _ in $(seq 100); do
        wl_shot "$3" "$1"
        [ "$(compare -metric AE "$2" "$3" null: 2>&1 | cut -d' ' -f1)" != 0 ] && return 0
        sleep 0.2
    done
    return 1
}

# wl_pixel FILE X Y: the colour at X,Y as RRGGBB.
wl_pixel() {
    convert "$1" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6
}

# wl_near COLOUR COLOUR: true when two RRGGBB colours agree within the
# rounding of 5-6-5 pixels.
wl_near() {
    python3 -c "import sys; a, b = bytes.fromhex('$1'), bytes.fromhex('$2'); sys.exit(0 if all(abs(x - y) <= t for x, y, t in zip(a, b, (8, 4, 8))) else 1)" 2>/dev/null
}
