#!/bin/bash
# The program as a display mode of the real XScreenSaver daemon: activated,
# it draws into the daemon's window; deactivated, nothing of it is left
# running and its temporary song file is gone. The daemon launches nothing
# as root, so under root the daemon and its programs run as "nobody".
set -u
. "$(dirname "$0")/lib.sh"
command -v xscreensaver >/dev/null || { echo "no xscreensaver"; exit 77; }
use_display

as_user=()
if [ "$(id -u)" = 0 ]; then
    as_user=(runuser -u nobody --)
    chown -R nobody:nogroup "$WORK"
    chmod 755 "$WORK"
fi
"${as_user[@]}" test -x "$DOVEZI" || { echo "$DOVEZI is not reachable as ${as_user[*]:-this user}"; exit 77; }

cat >"$HOME/.xscreensaver" <<SETTINGS
mode: one
selected: 0
timeout: 0:30:00
lock: False
fade: False
unfade: False
splash: False
grabDesktopImages: True
programs: "Dovezi" $DOVEZI --root \\n
SETTINGS
[ ${#as_user[@]} -gt 0 ] && chown -R nobody:nogroup "$WORK"

run() { "${as_user[@]}" env HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    DISPLAY="$DISPLAY" "$@"; }

run xscreensaver-command -exit >/dev/null 2>&1
run xscreensaver -no-splash >"$WORK/daemon.log" 2>&1 &
DAEMON=$!
trap 'run xscreensaver-command -exit >/dev/null 2>&1; kill $DAEMON 2>/dev/null; wait $DAEMON 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 50); do
    run xscreensaver-command -version >/dev/null 2>&1 && break
    sleep 0.2
done

run xscreensaver-command -activate >/dev/null
for _ in $(seq 100); do
    [ -n "$(own_pids "$DOVEZI --root")" ] && break
    sleep 0.1
done
[ -n "$(own_pids "$DOVEZI --root")" ] || { cat "$WORK/daemon.log" >&2; fail "the daemon did not start the program"; }
sleep 3
[ -n "$(own_pids "$DOVEZI --root")" ] || fail "the program ended by itself"

run xscreensaver-command -deactivate >/dev/null
for _ in $(seq 50); do
    [ -n "$(own_pids "$DOVEZI --root")" ] || break
    sleep 0.1
done
[ -n "$(own_pids "$DOVEZI --root")" ] && fail "the program is still running after deactivation"
leftover=$(find "$XDG_RUNTIME_DIR" -name 'Tvn*' 2>/dev/null)
[ -z "$leftover" ] || fail "temporary song left behind: $leftover"
echo "xscreensaver: ok"
