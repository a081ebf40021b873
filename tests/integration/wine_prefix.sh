#!/bin/bash
# Makes the Wine prefix the Windows tests share (once; later runs reuse it).
set -u
. "$(dirname "$0")/lib.sh"
use_display
export WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] && exit 0
wineboot -i >/dev/null 2>&1
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix"
