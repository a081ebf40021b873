#!/bin/bash
# A settings key exported by regedit (UTF-16 with a byte order mark, the
# version 5 header, CRLF) works on Linux as it stands: the Linux build reads
# its values, keeps the types it does not read, and writes the file back in
# the same form, which regedit imports again.
set -u
. "$(dirname "$0")/lib.sh"
use_display
export WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all
KEY='HKCU\Software\Tevrin\Dovezi\Settings'
SETTINGS="$XDG_CONFIG_HOME/Tevrin/Dovezi.reg"
SHEET=
trap '[ -n "$SHEET" ] && kill "$SHEET" 2>/dev/null; wine reg delete "$KEY" /f >/dev/null 2>&1; rm -rf "$WORK"' EXIT

wine reg delete "$KEY" /f >/dev/null 2>&1
wine reg add "$KEY" /v BACKGROUND /t REG_DWORD /d 2 /f >/dev/null 2>&1
wine reg add "$KEY" /v PLAYMIDI /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add "$KEY" /v MIDIFILEPATH /t REG_SZ /d 'C:\Música\marcha.mid' /f >/dev/null 2>&1
wine reg add "$KEY" /v NOTE /t REG_EXPAND_SZ /d '%TEMP%\x' /f >/dev/null 2>&1
wine regedit /E "$WORK/export.reg" 'HKEY_CURRENT_USER\Software\Tevrin\Dovezi\Settings' >/dev/null 2>&1
[ "$(head -c 2 "$WORK/export.reg" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "regedit wrote no UTF-16 file"
mkdir -p "$(dirname "$SETTINGS")"
cp "$WORK/export.reg" "$SETTINGS"
expand_line() { iconv -f UTF-16LE -t UTF-8 "$1" | grep -a '^"NOTE"'; }
note=$(expand_line "$SETTINGS")

# The white background it names shows between the lanes.
"$DOVEZI" --record "$WORK/out" --seconds 1 --size 640x480 >/dev/null || fail "the recording failed"
[ "$(convert "$WORK/out/frame-0001.png" -format '%[fx:p{600,57}.r>0.95&&p{600,57}.g>0.95&&p{600,57}.b>0.95]' info:)" = 1 ] ||
    fail "the exported background was not read"
ls "$XDG_CONFIG_HOME/Tevrin" | grep -q damaged && fail "the export was moved aside as damaged"

# The sheet writes its first page's values back when it is cancelled.
"$DOVEZI" -c &
SHEET=$!
wait_for_window "Configure Velmar Dovezi Screen Saver" >/dev/null || fail "no sheet"
kill -TERM "$SHEET"
wait_for_exit "$SHEET" 10 || fail "the sheet did not end"
SHEET=
cmp -s "$SETTINGS" "$WORK/export.reg" && fail "nothing was written"
[ "$(head -c 2 "$SETTINGS" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "the file lost its encoding"
iconv -f UTF-16LE -t UTF-8 "$SETTINGS" | head -1 | grep -q 'Windows Registry Editor Version 5.00' ||
    fail "the file lost its header"
[ "$(expand_line "$SETTINGS")" = "$note" ] || fail "a value of another type was changed"

wine reg delete "$KEY" /f >/dev/null 2>&1
wine regedit /S "$SETTINGS" >/dev/null 2>&1
wine reg query "$KEY" /v MIDIFILEPATH 2>/dev/null | grep -q 'marcha.mid' || fail "regedit cannot import the file again"
wine reg query "$KEY" /v NOTE 2>/dev/null | grep -q 'REG_EXPAND_SZ' || fail "the expandable value was lost"
echo "regedit export: ok"
