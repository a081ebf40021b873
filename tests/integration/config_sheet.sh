#!/bin/bash
# The configuration sheet on X: "-c" and an empty command line open it on
# the MIDI tab, the tabs follow in the order MIDI, Background, Animation,
# About (each page writes its first setting when it is first shown), the
# keyboard moves the speed slider and every move is stored at once, Cancel
# writes the opening values back, Preview starts a saver that a key press
# closes, and OK keeps the changes. Pictures of the four pages are left in
# the build tree (config-sheet/).
set -u
. "$(dirname "$0")/lib.sh"
use_display

CAPTION="Configure Velmar Dovezi Screen Saver"
SETTINGS="$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
SHOTS="${DOVEZI_BINARY_DIR:-$WORK}/config-sheet"
mkdir -p "$SHOTS"

SHEET=
trap '[ -n "$SHEET" ] && kill "$SHEET" 2>/dev/null; for saver in $(own_pids "^$DOVEZI -s\$"); do kill "$saver"; done; rm -rf "$WORK"' EXIT

open_sheet() {
    "$DOVEZI" "$@" &
    SHEET=$!
    WINDOW=
    for _ in $(seq 50); do
        WINDOW=$(xdotool search --all --onlyvisible --pid "$SHEET" --name "^$CAPTION\$" 2>/dev/null | head -1 || true)
        [ -n "$WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$WINDOW" ] || fail "no sheet for '$*'"
    sleep 0.5
}

# Keys through the X test extension (the toolkit reads no synthetic key
# events), so the sheet takes the focus first.
press() {
    xdotool windowfocus --sync "$WINDOW"
    xdotool key "$@"
}

# setting KEY: the stored value as the settings file writes it.
setting() {
    grep -F "\"$1\"=" "$SETTINGS" 2>/dev/null | head -1 | cut -d= -f2-
}

expect_setting() {
    for _ in $(seq 30); do
        [ "$(setting "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    fail "$1 is '$(setting "$1")', expected '$2' ($3)"
}

expect_unset() {
    [ -z "$(setting "$1")" ] || fail "$1 was written ($2)"
}

shot() {
    sleep 0.7
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SHOTS/config-$1.png"
}

expect_sheet_closed() {
    wait_for_exit "$SHEET" 10 || fail "the sheet did not close on $1"
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after $1"
}

# The pages in tab order, each created when first shown.
open_sheet -c
expect_setting MIDIFILE dword:00000000 "the MIDI page opens first"
expect_unset BACKGROUND "before the Background tab was shown"
expect_unset ANISEL "before the Animation tab was shown"
shot midi
press ctrl+Tab
expect_setting BACKGROUND dword:00000000 "second tab"
expect_unset ANISEL "before the Animation tab was shown"
shot background
press ctrl+Tab
expect_setting ANISEL dword:00000000 "third tab"
expect_unset SPEED "before the speed slider moved"
shot animation

# The focus is on the speed slider, the page's first tab stop.
press Right
expect_setting SPEED dword:00000063 "one step towards fast"
press End
expect_setting SPEED dword:00000001 "the fast end"
press ctrl+Tab
shot about
press ctrl+Tab
press Escape
expect_sheet_closed Escape
expect_setting SPEED dword:00000064 "Cancel writes the opening speed back"
expect_setting PLAYMIDI dword:00000001 "Cancel writes the MIDI page's values"

# No word opens the sheet too; Preview starts the saver with the speed
# just chosen, and OK keeps it.
rm -f "$SETTINGS"
open_sheet
expect_unset ANISEL "the Animation page is not the first"
press ctrl+Tab ctrl+Tab
press Left Left
expect_setting SPEED dword:00000066 "two steps towards slow"
press alt+p
saver=
for _ in $(seq 50); do
    saver=$(own_pids "^$DOVEZI -s\$" | head -1)
    [ -n "$saver" ] && break
    sleep 0.1
done
[ -n "$saver" ] || fail "Preview started no '$DOVEZI -s'"
shown=
for _ in $(seq 50); do
    shown=$(xdotool search --onlyvisible --name '^Dovezi$' 2>/dev/null | head -1 || true)
    [ -n "$shown" ] && break
    sleep 0.1
done
[ -n "$shown" ] || fail "the saver shows no window"
sleep 1
xdotool key space
for _ in $(seq 50); do
    kill -0 "$saver" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$saver" 2>/dev/null && fail "a key press did not close the saver"
kill -0 "$SHEET" 2>/dev/null || fail "the sheet closed with the saver"
press Return
expect_sheet_closed OK
expect_setting SPEED dword:00000066 "OK keeps the speed"
echo "config sheet: ok"
