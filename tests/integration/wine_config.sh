#!/bin/bash
# The Windows screen saver's configuration sheet under Wine: /c shows the
# property sheet, whose tabs (reached from the tab row with the arrow keys)
# create the MIDI, Background, Animation and About pages in this order, and
# Escape leaves the MIDI page's settings in the registry with their
# defaults.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SCR" ] || { echo "no Windows build at $DOVEZI_SCR"; exit 77; }
use_display
export WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all
KEY='HKCU\Software\Tevrin\Dovezi\Settings'
CAPTION="Configure Velmar Dovezi Screen Saver"

stored() {
    wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name {$1 = ""; sub(/^ /, ""); print}'
}

expect_stored() {
    [ "$(stored "$1")" = "$2" ] || fail "$1 is '$(stored "$1")', expected '$2' ($3)"
}

wine reg delete 'HKCU\Software\Tevrin' /f >/dev/null 2>&1
wine "$DOVEZI_SCR" /c 2>/dev/null &
SHEET=$!
trap 'kill "$SHEET" 2>/dev/null; rm -rf "$WORK"' EXIT
window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^$CAPTION\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no configuration sheet under Wine"
sleep 1
xdotool windowfocus --sync "$window"
expect_stored MIDIFILE "REG_DWORD 0x0" "the MIDI page opens first"
[ -z "$(stored BACKGROUND)" ] || fail "the Background page was created before its tab was shown"

# From the first control of the MIDI page back to the tab row.
xdotool key shift+Tab
sleep 0.3
xdotool key Right
sleep 0.5
expect_stored BACKGROUND "REG_DWORD 0x0" "second tab"
[ -z "$(stored ANISEL)" ] || fail "the Animation page was created before its tab was shown"
xdotool key Right
sleep 0.5
expect_stored ANISEL "REG_DWORD 0x0" "third tab"
xdotool key Right
sleep 0.5
xdotool key Escape
wait_for_exit "$SHEET" 30 || fail "Escape did not close the sheet"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
expect_stored PLAYMIDI "REG_DWORD 0x1" "Cancel"
expect_stored MIDIFILE "REG_DWORD 0x0" "Cancel"
expect_stored MIDIFILEPATH "REG_SZ No File" "Cancel"
echo "wine config: ok"
