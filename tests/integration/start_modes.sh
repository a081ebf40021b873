#!/bin/bash
# Command lines that select no mode, or a preview without a usable host,
# end at once with status 0 and nothing shown.
set -u
. "$(dirname "$0")/lib.sh"
use_display

run_words() {
    local start status elapsed
    start=$(date +%s%N)
    timeout 5 "$DOVEZI" "$@"
    status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    [ "$status" = 0 ] || fail "'$*' exited with $status"
    [ "$elapsed" -lt 2000 ] || fail "'$*' took $elapsed ms"
}

run_words x
run_words /x
run_words ""
run_words //s
run_words p
run_words /p 4242424
run_words -p abc
[ -z "$(xdotool search --name '^Dovezi$' 2>/dev/null)" ] || fail "a window was left"

# Without a display the modes say so in one line and fail; other words
# still end silently.
for words in -s "/p 4242" -c -root; do
    said=$(env -u DISPLAY "$DOVEZI" $words 2>&1)
    status=$?
    [ "$status" != 0 ] && [ "$(printf '%s\n' "$said" | wc -l)" = 1 ] || fail "'$words' without a display: $status, '$said'"
done
said=$(env -u DISPLAY "$DOVEZI" 2>&1) && fail "no words without a display: '$said'"
said=$(env -u DISPLAY "$DOVEZI" x 2>&1) && [ -z "$said" ] || fail "'x' without a display: '$said'"
echo "start modes: ok"
