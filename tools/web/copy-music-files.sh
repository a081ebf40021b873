#!/bin/bash
# Copies the files the page's music needs (the names music.js lists) into the
# built page's folder: the synthesizer's scripts from tools/web/node_modules,
# and the soundfont. A file already there and no older than its source stays.
#   copy-music-files.sh BUILD_WEB_DIR
set -euo pipefail
DEST=$1
HERE=$(cd "$(dirname "$0")" && pwd)
MUSIC="$HERE/../../platform/web/page/music.js"
PACKAGE="$HERE/node_modules/js-synthesizer"
SOUNDFONTS=/usr/share/sounds/sf2

names=$(node -e '
    const context = {};
    require("vm").runInNewContext(require("fs").readFileSync(process.argv[1], "utf8"), context);
    console.log(context.DoveziMusic.files().join("\n"));
' "$MUSIC")

mkdir -p "$DEST"
for name in $names; do
    source=""
    for folder in "$PACKAGE/dist" "$PACKAGE/externals" "$SOUNDFONTS"; do
        if [ -f "$folder/$name" ]; then
            source="$folder/$name"
            break
        fi
    done
    if [ -z "$source" ]; then
        echo "copy-music-files.sh: no $name (tools/web-deps.sh installs it)" >&2
        exit 1
    fi
    cp -u "$source" "$DEST/$name"
done
