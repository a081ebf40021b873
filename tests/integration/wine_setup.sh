#!/bin/bash
# The Windows setup under Wine, silent both ways, in a prefix of its own: it
# installs the saver for the current user with a Start menu entry and an
# uninstall key and makes it the current screen saver, which then runs from
# where it was installed; a second setup leaves one copy; the uninstaller
# takes all of it away, puts back the screen saver named before and keeps
# the saver's settings.
set -u
. "$(dirname "$0")/lib.sh"
[ -f "$DOVEZI_SETUP" ] || { echo "no setup at $DOVEZI_SETUP"; exit 77; }
use_display
use_wine
trap 'end_wine; rm -rf "$WORK"' EXIT
export WINEDLLOVERRIDES=winemenubuilder.exe=d
DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovezi'
SETTINGS='HKCU\Software\Tevrin\Dovezi\Settings'
BEFORE='C:\windows\system32\scrnsave.scr'

# value KEY NAME: the data of one registry value, empty when it is missing.
value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name {$1 = ""; $2 = ""; sub(/^ +/, ""); print}'
}

# folder VARIABLE: the Unix path of a folder Windows names by a variable.
folder() {
    winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null
}

# run_silently PROGRAM: runs it with /S and waits for every process it starts.
run_silently() {
    wine "$1" /S >/dev/null 2>&1 || fail "$(basename "$1") /S exited with $?"
    timeout 120 wineserver -w || fail "$(basename "$1") /S left programs running"
}

wine reg add "$DESKTOP" /v SCRNSAVE.EXE /t REG_SZ /d "$BEFORE" /f >/dev/null 2>&1
set_saver_value PLAYMIDI 0
set_saver_value BACKGROUND 1
DIR="$(folder LOCALAPPDATA)/Programs/Dovezi"
LINK="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Velmar Dovezi Screen Saver Settings.lnk"

run_silently "$DOVEZI_SETUP"
cmp -s "$DIR/Dovezi.scr" "$DOVEZI_SCR" || fail "Dovezi.scr is not in $DIR"
[ -f "$LINK" ] || fail "no Start menu entry"
strings -el -n 2 "$LINK" | grep -qx '/c' || fail "the Start menu entry does not open the settings"
[ "$(value "$UNINSTALL" DisplayName)" = "Velmar Dovezi Screen Saver" ] || fail "no uninstall key"
[ "$(value "$UNINSTALL" QuietUninstallString)" = "\"$(value "$UNINSTALL" InstallLocation)\\Uninstall.exe\" /S" ] ||
    fail "no quiet uninstall string"
SAVER_PATH=$(value "$DESKTOP" SCRNSAVE.EXE)
[ "$(winepath -u "$SAVER_PATH" 2>/dev/null)" -ef "$DIR/Dovezi.scr" ] || fail "SCRNSAVE.EXE is '$SAVER_PATH'"
[ "$(value "$DESKTOP" ScreenSaveActive)" = 1 ] || fail "the screen saver is not active"

run_silently "$DOVEZI_SETUP"
[ "$(ls "$DIR" | tr '\n' ' ')" = "Dovezi.scr Uninstall.exe " ] || fail "a second setup left: $(ls "$DIR")"
[ "$(find "$(dirname "$LINK")" -name '*Dovezi*' | wc -l)" = 1 ] || fail "a second setup made a second entry"
[ "$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    grep -c 'Velmar Dovezi')" = 1 ] || fail "a second setup made a second uninstall key"

# The saver as the system starts it, over a grey desktop.
convert -size 1024x768 xc:gray50 "$WORK/desktop.png"
display -window root "$WORK/desktop.png" 2>/dev/null
xdotool mousemove 300 200
wine "$SAVER_PATH" /s &
SAVER=$!
wait_until 90 black_with_units 1024x768+0+0 || fail "the installed saver did not turn the screen black with units"
cp "$WORK/root.png" "$WORK/parade.png"
wait_until 30 moved 1024x768+0+0 || fail "nothing moved"
xdotool mousemove 310 205
wait_for_exit "$SAVER" 10 || fail "a mouse move did not close the installed saver"

run_silently "$DIR/Uninstall.exe"
[ -e "$DIR" ] && fail "left in $DIR: $(ls "$DIR")"
[ -e "$LINK" ] && fail "the Start menu entry is left"
wine reg query "$UNINSTALL" >/dev/null 2>&1 && fail "the uninstall key is left"
[ "$(value "$DESKTOP" SCRNSAVE.EXE)" = "$BEFORE" ] || fail "SCRNSAVE.EXE is '$(value "$DESKTOP" SCRNSAVE.EXE)'"
[ "$(value "$SETTINGS" BACKGROUND)" = 0x1 ] || fail "the saver's settings were removed"
echo "wine setup: ok"
