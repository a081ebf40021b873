#!/bin/bash
# --record writes music.wav beside the frames: 44.1 kHz 16-bit stereo, as
# long as the recording, sounding also after the song's first round, the
# same on every run; the song's temporary copy is gone afterwards.
set -u
. "$(dirname "$0")/lib.sh"

[ -r /usr/share/sounds/sf2/default-GM.sf2 ] || { echo "no soundfont: skipped"; exit 77; }
command -v sox >/dev/null || { echo "no sox: skipped"; exit 77; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The built-in song lasts 83.08 s (17,280 ticks at 104 beats a minute) and
# its last notes fade by 86 s: 92 s hold six seconds of its second round.
SECONDS_RECORDED=92
record() {
    "$DOVEZI" --record "$1" --seconds "$SECONDS_RECORDED" --size 160x120 || fail "--record exited with $?"
}
record "$WORK/first"
record "$WORK/second"
wav="$WORK/first/music.wav"
[ -f "$wav" ] || fail "no music.wav"

[ "$(soxi -r "$wav")" = 44100 ] || fail "rate $(soxi -r "$wav")"
[ "$(soxi -c "$wav")" = 2 ] || fail "channels $(soxi -c "$wav")"
[ "$(soxi -b "$wav")" = 16 ] || fail "bits $(soxi -b "$wav")"
[ "$(soxi -s "$wav")" = $((SECONDS_RECORDED * 44100)) ] || fail "$(soxi -s "$wav") samples"

rms() {
    sox "$wav" -n trim "$1" "$2" stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'
}
sounding() {
    awk -v level="$1" 'BEGIN { exit !(level > 0.001) }'
}
sounding "$(rms 0 "$SECONDS_RECORDED")" || fail "silent"
sounding "$(rms 86 6)" || fail "silent after the first round"

cmp -s "$wav" "$WORK/second/music.wav" || fail "two runs differ"
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "left behind: $(ls -A "$XDG_RUNTIME_DIR")"
echo "record music: ok"
