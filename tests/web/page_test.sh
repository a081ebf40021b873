#!/bin/bash
# The built page in headless chromium (page_test.mjs), served from
# SITE_DIR by tools/web/serve.mjs on a free port of 127.0.0.1, or with
# DOVEZI_PLAIN_SERVER=1 by Python's plain static server, which sends no
# headers of its own. The server, the browser and their files are private to
# this run and go with it. SCRIPT, when given, runs instead of page_test.mjs,
# with the same arguments (the page's address and the private folder) and
# the site's folder after them, for DOVEZI_TEST_SECONDS at most (180 unless
# given).
#   page_test.sh SITE_DIR [SCRIPT]
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
TOOLS="$HERE/../../tools/web"
SITE=$1
SCRIPT=${2:-$HERE/page_test.mjs}

[ -x /usr/bin/chromium ] || { echo "no chromium: skipped"; exit 77; }
[ -d "$TOOLS/node_modules/puppeteer-core" ] || { echo "FAIL: no puppeteer-core (tools/web-deps.sh installs it)"; exit 1; }
[ -f "$SITE/index.html" ] || { echo "FAIL: no page in $SITE"; exit 1; }

WORK=$(mktemp -d)
SERVER=""
TEST=""
end_all() {
    [ -z "$TEST" ] || kill "$TEST" 2>/dev/null
    [ -z "$SERVER" ] || kill "$SERVER" 2>/dev/null
    wait 2>/dev/null
    # The browser leads a process group of its own; it is gone when the test
    # ended normally, and this ends it when the test did not.
    if [ -s "$WORK/browser.pid" ]; then
        kill -- "-$(cat "$WORK/browser.pid")" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap end_all EXIT
trap 'exit 1' INT TERM HUP
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

if [ "${DOVEZI_PLAIN_SERVER:-}" = 1 ]; then
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$SITE" >"$WORK/server.out" 2>&1 &
    ANNOUNCED='s|^Serving HTTP on 127\.0\.0\.1 port [0-9]* (\(http://127\.0\.0\.1:[0-9]*/\)) \.\.\.$|\1|p'
else
    node "$TOOLS/serve.mjs" "$SITE" 0 >"$WORK/server.out" 2>&1 &
    ANNOUNCED='s|^Serving .* at \(http://127\.0\.0\.1:[0-9]*/\)$|\1|p'
fi
SERVER=$!
URL=""
for _ in $(seq 100); do
    URL=$(sed -n "$ANNOUNCED" "$WORK/server.out")
    [ -n "$URL" ] && break
    kill -0 "$SERVER" 2>/dev/null || break
    sleep 0.1
done
[ -n "$URL" ] || { echo "FAIL: the server did not start: $(cat "$WORK/server.out")"; exit 1; }
echo "page at $URL"

timeout "${DOVEZI_TEST_SECONDS:-180}" node "$SCRIPT" "$URL" "$WORK" "$SITE" &
TEST=$!
wait "$TEST"
STATUS=$?
TEST=""
exit "$STATUS"
