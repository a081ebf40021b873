#!/bin/bash
# Installs what the web build and its browser test need; quick when all is
# there: Debian's emscripten, chromium and python3 (the site test's plain
# static server), and the node packages of tools/web (the test's browser
# driver, its accessibility checker and the page's synthesizer).
set -euo pipefail

WEB=$(cd "$(dirname "$0")/web" && pwd)
"$(dirname "$0")/deps.sh" emscripten chromium timgm6mb-soundfont python3

# npm ci starts from an empty node_modules, so it runs only when the lock
# file changed since the last install.
if [ ! -d "$WEB/node_modules" ] || [ "$WEB/package-lock.json" -nt "$WEB/node_modules" ]; then
    (cd "$WEB" && npm ci --prefer-offline --no-audit --no-fund)
    touch "$WEB/node_modules"
fi
