#!/bin/bash
# check-song-render.sh SONG WAV: renders SONG with FluidSynth and checks with
# sox that the sound lasts 60 to 120 seconds and is not silent.
set -euo pipefail

song=$1
wav=$2
soundfont=/usr/share/sounds/sf2/default-GM.sf2
[ -e "$soundfont" ] || soundfont=/usr/share/sounds/sf2/TimGM6mb.sf2

fluidsynth -ni -q -F "$wav" -r 44100 "$soundfont" "$song" >/dev/null
stats=$(sox "$wav" -n stat 2>&1)
rm -f "$wav"
seconds=$(awk '/^Length \(seconds\)/ {print $3}' <<<"$stats")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stats")
echo "length ${seconds} s, RMS amplitude ${rms}"
awk -v seconds="$seconds" -v rms="$rms" 'BEGIN { exit !(seconds >= 60 && seconds <= 120 && rms >= 0.01) }'
