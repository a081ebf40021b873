#!/bin/bash
# Runs every benchmark program of a build and prints the table of figures.
#   bench/run.sh BUILD_DIR
# Each program writes BUILD_DIR/bench/NAME.json; the table goes to the
# terminal and to BUILD_DIR/bench/summary.tsv.
set -euo pipefail
folder="$1/bench"
here=$(dirname "$0")
rm -f "$folder"/*.json "$folder/summary.tsv"
for program in "$folder"/bench_*; do
    name=$(basename "$program")
    name=${name#bench_}
    options=()
    # The whole-picture passes are many; a shorter minimum keeps the run short.
    if [ "$name" = imaging ]; then
        options+=(--benchmark_min_time=0.2)
    fi
    echo "running $name" >&2
    "$program" "${options[@]}" --benchmark_out="$folder/$name.json" --benchmark_out_format=json >/dev/null
done
# The saver on Wayland beside the same saver on X, each with its server.
if command -v sway >/dev/null; then
    echo "running desktops" >&2
    "$here/desktops.sh" "$1" "$folder/desktops.json"
fi
# The page's frame, its CPU beside the desktop saver's and its times over a slow
# network, when the page is built.
page="$here/../build-web/site"
if [ -f "$page/index.html" ]; then
    echo "running web" >&2
    DOVEZI_BENCH_OUT="$folder/web.json" "$here/../tests/web/page_test.sh" "$page" "$here/web_frame.mjs" >/dev/null
    echo "running web-cpu" >&2
    DOVEZI_BENCH_OUT="$folder/web-cpu.json" DOVEZI_DESKTOP="$1/Dovezi" DOVEZI_TEST_SECONDS=1200 \
        "$here/../tests/web/page_test.sh" "$page" "$here/web_cpu.mjs" >/dev/null
    echo "running web-network" >&2
    DOVEZI_BENCH_OUT="$folder/web-network.json" "$here/../tests/web/page_test.sh" "$page" "$here/web_network.mjs" >/dev/null
fi
# The music live under load, through each sound server there is.
"$here/live_music.sh" "$1"
python3 "$here/summary.py" "$folder"
