#!/bin/bash
# The saver's music as a person hears it, through a private sound server
# (SERVER: "pulseaudio", or "pipewire" with its PulseAudio service) whose
# null output is recorded while busy loops load the machine (LOOPS, two by
# default): over 90 s, across the seam where the song starts again, no
# dropouts, audible, started within two seconds of the window, never louder
# than the render, on the song's timing with the same offset to the render
# on both sides of the seam, and falling to silence soon after the input
# that ends the saver, and after SIGTERM (sound_check.py holds the bounds).
# With the server stopped (SIGSTOP, as a hung server is) before the saver
# starts, the parade moves at once and the wait that runs out is said in one
# line; stopped then or during play, a key removes the window within a second
# and the process is gone within two (the figures are printed). Without any
# server (and no sound card) the saver says so in one line and still runs,
# silently.
#   saver_sound.sh SERVER [LOOPS]
set -u
. "$(dirname "$0")/lib.sh"
SERVER=$1
LOOPS=${2:-2}
IT=$(dirname "$0")
# The built-in song's length: 17,280 ticks at 104 beats a minute.
SONG_SECONDS=83.077
PLAY_SECONDS=95
for program in parec pactl "$SERVER" python3; do
    command -v "$program" >/dev/null || { echo "no $program: skipped"; exit 77; }
done
[ -r /usr/share/sounds/sf2/default-GM.sf2 ] || { echo "no soundfont: skipped"; exit 77; }
use_work
unset PULSE_CLIENTCONFIG PULSE_SERVER
STARTED=()
PROTOCOL=
end_all() {
    [ -n "$PROTOCOL" ] && kill -CONT "$PROTOCOL" 2>/dev/null
    for pid in "${STARTED[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    "$IT/xvfb.sh" stop "$WORK/xvfb"
    rm -rf "$WORK"
}
trap end_all EXIT
start() {
    "$@" >>"$WORK/servers.log" 2>&1 &
    STARTED+=($!)
}

no_server() {
    cat "$WORK/servers.log" >&2
    fail "$1"
}

# Each server starts once the one it connects to answers: on a loaded
# machine a fixed pause is not long enough.
case "$SERVER" in
pulseaudio)
    printf 'load-module module-native-protocol-unix\n' >"$WORK/pulse.pa"
    start pulseaudio -n -F "$WORK/pulse.pa" --exit-idle-time=-1 --daemonize=no
    PROTOCOL=$!
    ;;
pipewire)
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    start dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile
    until_true 30 test -S "$XDG_RUNTIME_DIR/bus" || no_server "no session bus"
    # On a desktop the system's real-time service raises the server's
    # threads; without it here, the server starts at real-time priority
    # where that is allowed, or its protocol thread starves under the load.
    REALTIME=()
    chrt -f 20 true 2>/dev/null && REALTIME=(chrt -f 20)
    start "${REALTIME[@]}" pipewire
    until_true 30 test -S "$XDG_RUNTIME_DIR/pipewire-0" || no_server "no pipewire"
    start wireplumber
    start "${REALTIME[@]}" pipewire-pulse
    PROTOCOL=$!
    ;;
esac
until_true 30 pactl info || no_server "no $SERVER"
pactl load-module module-null-sink sink_name=heard rate=44100 channels=2 >/dev/null || no_server "no null output"
until_true 30 sh -c 'pactl set-default-sink heard && [ "$(pactl get-default-sink)" = heard ]' ||
    no_server "no default output"

"$DOVEZI" --record "$WORK/song" --seconds $((PLAY_SECONDS + 3)) --size 160x120 >/dev/null || fail "no reference render"
"$IT/xvfb.sh" start "$WORK/xvfb" 24 || fail "no private X server"
DISPLAY=":$(tr -d '[:space:]' <"$WORK/xvfb/display")"
export DISPLAY

# record NAME: records the null output into $WORK/NAME.wav from now on.
record() {
    parec --latency-msec=20 -d heard.monitor --format=s16le --rate=44100 --channels=2 --file-format=wav \
        "$WORK/$1.wav" &
    RECORDER=$!
    STARTED+=($RECORDER)
    for _ in $(seq 100); do
        [ "$(stat -c %s "$WORK/$1.wav" 2>/dev/null || echo 0)" -gt 100000 ] && return 0
        sleep 0.1
    done
    fail "the recording does not run"
}
# play ENDING SECONDS: runs the saver for SECONDS, ends it with ENDING
# ("input" or "term"), and leaves in WINDOW_AT and ENDED_AT the times of its
# window and its end, in seconds from the end of the recording.
play() {
    "$DOVEZI" -s 2>"$WORK/saver.err" &
    local saver=$!
    STARTED+=($saver)
    wait_for_window Dovezi >/dev/null || fail "no saver window"
    local shown ended stopped
    shown=$(date +%s.%N)
    sleep "$2"
    ended=$(date +%s.%N)
    if [ "$1" = input ]; then xdotool mousemove_relative 300 0; else kill -TERM "$saver"; fi
    wait_for_exit "$saver" 10 || fail "the saver did not end on $1"
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
    sleep 1
    stopped=$(date +%s.%N)
    kill -INT "$RECORDER"
    wait "$RECORDER"
    WINDOW_AT=$(python3 -c "print($stopped - $shown)")
    ENDED_AT=$(python3 -c "print($stopped - $ended)")
}
# check NAME OPTION...: the recording against the song's render.
check() {
    local length name=$1
    shift
    length=$(soxi -D "$WORK/$name.wav")
    python3 "$IT/sound_check.py" "$WORK/$name.wav" "$WORK/song/music.wav" \
        "$(python3 -c "print($length - $WINDOW_AT)")" "$(python3 -c "print($length - $ENDED_AT)")" "$@" ||
        fail "the music through $SERVER"
}

for _ in $(seq "$LOOPS"); do
    start sh -c 'while :; do :; done'
done
record input
play input $PLAY_SECONDS
check input --seam $SONG_SECONDS
sox "$WORK/input.wav" -n stat 2>&1 | grep -E 'Length|RMS +amplitude|Maximum amplitude'
record term
play term 3
check term --short

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# ms_until COMMAND...: the milliseconds until COMMAND succeeds, tried
# every 10 ms; false after 10 s.
ms_until() {
    local from
    from=$(now_ms)
    until "$@" 2>/dev/null; do
        [ $(($(now_ms) - from)) -lt 10000 ] || return 1
        sleep 0.01
    done
    echo $(($(now_ms) - from))
}
window_gone() { ! xdotool search --name '^Dovezi$' >/dev/null 2>&1; }
parade_moved() {
    import -window root "$WORK/next.png" && [ "$(differing "$WORK/first.png" "$WORK/next.png")" != 0 ]
}
# end_by_key NAME: a key ends the saver $HUNG, whose window and process
# must be gone within a second and two.
end_by_key() {
    local window_ms exit_ms
    xdotool key a
    window_ms=$(ms_until window_gone) || fail "$1: the window stays after a key"
    exit_ms=$(ms_until sh -c "! kill -0 $HUNG") || fail "$1: the process stays after a key"
    echo "$1: window gone ${window_ms} ms after the key, process gone ${exit_ms} ms after it"
    [ "$window_ms" -le 1000 ] && [ "$exit_ms" -le 2000 ] || fail "$1: too slow"
    wait "$HUNG" || fail "$1: exit status $?"
}
start_hung() {
    "$DOVEZI" -s 2>"$WORK/$1.err" &
    HUNG=$!
    STARTED+=($HUNG)
    wait_for_window Dovezi >/dev/null || fail "$1: no saver window"
}
kill -STOP "$PROTOCOL"
start_hung stopped
import -window root "$WORK/first.png"
moved_ms=$(ms_until parade_moved) || fail "the parade stands while the server is stopped"
echo "server stopped at the start: the parade moves ${moved_ms} ms after the window appears"
[ "$moved_ms" -le 3000 ] || fail "the parade waits for a stopped server"
sleep 5
end_by_key "server stopped at the start"
[ "$(wc -l <"$WORK/stopped.err")" = 1 ] && grep -q 'does not answer' "$WORK/stopped.err" ||
    fail "with a stopped server the saver said: $(cat "$WORK/stopped.err")"
kill -CONT "$PROTOCOL"
until_true 30 pactl info || fail "the server does not go on"
start_hung playing
until_true 10 sh -c '[ -n "$(pactl list short sink-inputs)" ]' || fail "the music does not reach the server"
sleep 1
kill -STOP "$PROTOCOL"
sleep 1
end_by_key "server stopped during play"
kill -CONT "$PROTOCOL"

pactl unload-module module-null-sink >/dev/null
for pid in "${STARTED[@]}"; do kill "$pid" 2>/dev/null; done
wait 2>/dev/null
STARTED=()
unset DBUS_SESSION_BUS_ADDRESS
export PULSE_SERVER="unix:$WORK/no-server"
"$DOVEZI" -s 2>"$WORK/silent.err" &
SAVER=$!
STARTED+=($SAVER)
wait_for_window Dovezi >/dev/null || fail "no saver window without sound"
sleep 1
xdotool mousemove_relative 300 0
wait_for_exit "$SAVER" 10 || fail "the silent saver did not end"
[ "$EXIT_STATUS" = 0 ] || fail "the silent saver's exit status $EXIT_STATUS"
[ "$(wc -l <"$WORK/silent.err")" = 1 ] && grep -q 'music is silent' "$WORK/silent.err" ||
    fail "without sound the saver said: $(cat "$WORK/silent.err")"
echo "saver sound through $SERVER: ok"
