#!/bin/bash
# The saver's music live under a heavy load (three busy loops per core):
# the sound test's 90 s recording across the song's seam, through each
# sound server, with its figures written as BUILD_DIR/bench/music.json.
#   bench/live_music.sh BUILD_DIR
set -u
here=$(dirname "$0")
out="$1/bench/music.json"
loops=$((3 * $(nproc)))
rows=()
for server in pulseaudio pipewire; do
    echo "running music through $server" >&2
    log=$(DOVEZI="$1/Dovezi" "$here/../tests/integration/saver_sound.sh" "$server" "$loops" 2>&1)
    [ $? = 77 ] && continue
    dropouts=$(sed -n 's/^dropouts \([0-9.]*\) %.*/\1/p' <<<"$log" | head -1)
    jump=$(sed -n 's/^offset jump at the seam \(-\?[0-9.]*\) ms.*/\1/p' <<<"$log" | head -1)
    silent=$(sed -n 's/^silent \(-\?[0-9.]*\) s after the input.*/\1/p' <<<"$log" | head -1)
    rows+=("$(python3 -c "import json, sys
values = {'dropout_pct': sys.argv[2], 'seam_jump_ms': sys.argv[3], 'silence_ms': sys.argv[4]}
row = {'name': 'LiveMusic/server:' + sys.argv[1]}
for key, value in values.items():
    if value:
        row[key] = float(value) * 1000 if key == 'silence_ms' else abs(float(value))
print(json.dumps(row))" "$server" "$dropouts" "$jump" "$silent")")
done
(IFS=,; echo "{\"benchmarks\": [${rows[*]}]}") >"$out"
