#!/bin/bash
# Installs what the web build and its browser test need; quick when all is
# there: Debian's emscripten and chromium, and the node packages of
# tools/web (the test's browser driver and the page's synthesizer).
set -euo pipefail

PACKAGES=(emscripten chromium timgm6mb-soundfont)
WEB=$(cd "$(dirname "$0")/web" && pwd)

SUDO=""
if [ "$(id -u)" != 0 ]; then
    SUDO=sudo
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm ci starts from an empty node_modules, so it runs only when the lock
# file changed since the last install.
if [ ! -d "$WEB/node_modules" ] || [ "$WEB/package-lock.json" -nt "$WEB/node_modules" ]; then
    (cd "$WEB" && npm ci --prefer-offline --no-audit --no-fund)
    touch "$WEB/node_modules"
fi
