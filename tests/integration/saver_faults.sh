#!/bin/bash
# The saver and the sheet when things go wrong: a settings lock held by
# another program never holds the screen or the record mode; an end signal
# during the start and SIGQUIT during play end the saver with its teardown;
# a lock file that is a folder is told in the sheet, which stays usable;
# Preview still starts the saver after the program file was replaced; a
# song that is gone gives the march, told in one line.
set -u
. "$(dirname "$0")/lib.sh"
use_display
CAPTION="Configure Velmar Dovezi Screen Saver"
FOLDER="$XDG_CONFIG_HOME/Tevrin"
SHOTS="${DOVEZI_BINARY_DIR:-$WORK}/config-sheet"
mkdir -p "$SHOTS"
PIDS=()
trap 'for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done; rm -rf "$WORK"' EXIT

now_ms() { date +%s%3N; }

# gone_within PID MS: true when the process has ended within MS milliseconds;
# the time it took is left in TOOK_MS and its exit status in EXIT_STATUS.
gone_within() {
    local start
    start=$(now_ms)
    while kill -0 "$1" 2>/dev/null; do
        [ $(($(now_ms) - start)) -gt "$2" ] && return 1
        sleep 0.01
    done
    TOOK_MS=$(($(now_ms) - start))
    wait "$1"
    EXIT_STATUS=$?
}

start_saver() {
    "$DOVEZI" -s 2>>"$WORK/saver.err" &
    SAVER=$!
    PIDS+=("$SAVER")
    wait_for_window Dovezi >/dev/null || fail "no saver window"
    sleep 0.3
}

temporary_songs() { find "$XDG_RUNTIME_DIR" -name 'Tvn*.tmp' 2>/dev/null; }

# Another program holds the settings lock, and there is no settings file yet.
mkdir -p "$FOLDER"
python3 -c 'import fcntl, sys, time
lock = open(sys.argv[1], "w")
fcntl.flock(lock, fcntl.LOCK_EX)
time.sleep(600)' "$FOLDER/Dovezi.reg.lock" &
LOCKER=$!
PIDS+=("$LOCKER")
lock_is_held() {
    ! python3 -c 'import fcntl, sys
fcntl.flock(open(sys.argv[1], "w"), fcntl.LOCK_EX | fcntl.LOCK_NB)' "$FOLDER/Dovezi.reg.lock" 2>/dev/null
}
until_true 10 lock_is_held || fail "the lock was never taken"
start=$(now_ms)
"$DOVEZI" --record "$WORK/record" --seconds 1 --size 160x120 2>/dev/null || fail "--record exited with $?"
echo "the record mode beside a held lock took $(($(now_ms) - start)) ms"
[ $(($(now_ms) - start)) -lt 5000 ] || fail "the record mode waited for the lock"
start_saver
xdotool key space
gone_within "$SAVER" 2000 || fail "a key did not end the saver beside a held lock"
echo "a key ended the saver beside a held lock in $TOOK_MS ms"
kill "$LOCKER"

# An end signal during the start, and SIGQUIT during play.
"$DOVEZI" -s 2>>"$WORK/saver.err" &
SAVER=$!
PIDS+=("$SAVER")
sleep 0.05
kill -TERM "$SAVER"
gone_within "$SAVER" 2000 || fail "SIGTERM during the start did not end the saver"
echo "SIGTERM during the start ended the saver in $TOOK_MS ms"
start_saver
[ -n "$(temporary_songs)" ] || fail "no temporary song while the saver plays"
kill -QUIT "$SAVER"
gone_within "$SAVER" 2000 || fail "SIGQUIT did not end the saver"
[ "$EXIT_STATUS" = 0 ] || fail "SIGQUIT: exit status $EXIT_STATUS"
[ -z "$(temporary_songs)" ] || fail "SIGQUIT left the temporary song $(temporary_songs)"

# A lock file that is a folder: the sheet says so and stays usable.
rm -f "$FOLDER/Dovezi.reg.lock"
mkdir "$FOLDER/Dovezi.reg.lock"
"$DOVEZI" -c &
SHEET=$!
PIDS+=("$SHEET")
# The sheet and its messages, which carry its caption (the display is this test's alone).
windows() { xdotool search --all --onlyvisible --name "^$CAPTION\$" 2>/dev/null; }
windows_shown() { [ "$(windows | wc -l)" "$1" "$2" ]; }
previews() { own_pids "^$WORK/bin/Dovezi -s\$"; }
previewing() { [ -n "$(previews)" ]; }
until_true 10 windows_shown -ge 2 || fail "the sheet showed no message about the lock"
message=$(windows | tail -1)
sleep 0.5
import -window root "$SHOTS/sheet-message.png"
xdotool windowfocus --sync "$message"
xdotool key Return
until_true 10 windows_shown = 1 || fail "the message stayed"
xdotool windowfocus --sync "$(windows)"
xdotool key Escape
gone_within "$SHEET" 5000 || fail "the sheet did not close after the message"
rmdir "$FOLDER/Dovezi.reg.lock"

# Preview after the program file was replaced, as an upgrade does.
mkdir -p "$WORK/bin"
cp "$DOVEZI" "$WORK/bin/Dovezi"
cp "$(dirname "$DOVEZI")/dovezi-sheet.so" "$WORK/bin/"
"$WORK/bin/Dovezi" -c &
SHEET=$!
PIDS+=("$SHEET")
until_true 10 windows_shown -ge 1 || fail "no sheet"
cp "$WORK/bin/Dovezi" "$WORK/bin/Dovezi.new"
mv "$WORK/bin/Dovezi.new" "$WORK/bin/Dovezi"
sleep 0.5
xdotool windowfocus --sync "$(windows)"
xdotool key alt+p
until_true 10 previewing || fail "Preview started nothing after the upgrade"
PIDS+=($(previews))
wait_for_window Dovezi >/dev/null || fail "the preview shows no window after the upgrade"
sleep 0.5
xdotool key space
until_true 5 eval '! previewing' || fail "a key did not end the preview"
xdotool windowfocus --sync "$(windows)"
xdotool key Escape
gone_within "$SHEET" 5000 || fail "the sheet did not close"

# A song that is gone: the march plays, and one line says why.
if [ -r /usr/share/sounds/sf2/default-GM.sf2 ] && command -v sox >/dev/null; then
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"MIDIFILE"=dword:00000001\n"MIDIFILEPATH"="%s"\n' \
        "$WORK/gone.mid" >"$FOLDER/Dovezi.reg"
    "$DOVEZI" --record "$WORK/song" --seconds 3 --size 160x120 2>"$WORK/song.err" || fail "--record exited with $?"
    grep -qF "the song $WORK/gone.mid cannot be played: the built-in march plays instead" "$WORK/song.err" ||
        fail "no line about the song: $(cat "$WORK/song.err")"
    [ "$(wc -l <"$WORK/song.err")" = 1 ] || fail "more than one line: $(cat "$WORK/song.err")"
    level=$(sox "$WORK/song/music.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')
    awk -v level="$level" 'BEGIN { exit !(level > 0.001) }' || fail "the march is silent (rms $level)"
fi
echo "saver faults: ok"
