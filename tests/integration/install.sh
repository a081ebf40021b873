#!/bin/bash
# `cmake --install` lays out the program, its XScreenSaver display mode, the
# settings entry, the icon, the manual and the settings sheet's module, which
# the installed program (from either of its places) finds and shows; the
# Debian package holds the same files and declares what the program needs
# at run time.
set -u
BUILD=$1
. "$(dirname "$0")/lib.sh"
use_display
STAGE=$(mktemp -d)
SHEET=
trap '[ -n "$SHEET" ] && kill "$SHEET" 2>/dev/null; rm -rf "$STAGE" "$WORK"' EXIT

cmake --install "$BUILD" --prefix "$STAGE/usr" >/dev/null || fail "cmake --install"
for file in bin/Dovezi libexec/xscreensaver/Dovezi share/xscreensaver/config/dovezi.xml \
    share/applications/dovezi-settings.desktop share/icons/hicolor/32x32/apps/dovezi.png \
    share/icons/hicolor/16x16/apps/dovezi.png share/man/man6/Dovezi.6 lib/dovezi/dovezi-sheet.so; do
    [ -s "$STAGE/usr/$file" ] || fail "missing $file"
done
for program in bin/Dovezi libexec/xscreensaver/Dovezi; do
    "$STAGE/usr/$program" -c 2>"$WORK/sheet.err" &
    SHEET=$!
    until_true 5 xdotool search --onlyvisible --pid "$SHEET" --name "^Configure Velmar Dovezi Screen Saver\$" ||
        fail "the installed $program shows no settings sheet: $(cat "$WORK/sheet.err")"
    kill "$SHEET"
    wait "$SHEET" 2>/dev/null
    SHEET=
done
mv "$STAGE/usr/lib/dovezi/dovezi-sheet.so" "$STAGE/gone.so"
timeout 10 "$STAGE/usr/bin/Dovezi" -c 2>"$WORK/sheet.err"
grep -q "the settings sheet cannot open" "$WORK/sheet.err" || fail "no word of the missing module: $(cat "$WORK/sheet.err")"
mv "$STAGE/gone.so" "$STAGE/usr/lib/dovezi/dovezi-sheet.so"
"$STAGE/usr/bin/Dovezi" --version | grep -q "Velmar Dovezi Screen Saver" || fail "installed program does not run"
grep -q '^Exec=Dovezi -c$' "$STAGE/usr/share/applications/dovezi-settings.desktop" || fail "desktop entry"
grep -q '^Hidden=true$' "$STAGE/usr/etc/xdg/autostart/dovezi-idle.desktop" || fail "the idle mode's autostart entry is not off"
grep -q 'command arg="--root"' "$STAGE/usr/share/xscreensaver/config/dovezi.xml" || fail "display mode description"

(cd "$STAGE" && cpack --config "$BUILD/CPackConfig.cmake" -B "$STAGE/package" >/dev/null) || fail "cpack"
deb=$(ls "$STAGE"/package/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libx11-6 libgtk-3-0 libasound2 libfluidsynth3 libpng16-16; do
    echo "$depends" | grep -q "$library" || fail "the package does not depend on $library: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/Dovezi ./usr/libexec/xscreensaver/Dovezi ./usr/lib/dovezi/dovezi-sheet.so \
    ./usr/share/xscreensaver/config/dovezi.xml \
    ./usr/share/man/man6/Dovezi.6 ./etc/xdg/autostart/dovezi-idle.desktop; do
    echo "$contents" | grep -q " $file\$" || fail "the package lacks $file"
done
dpkg-deb -I "$deb" conffiles | grep -qx /etc/xdg/autostart/dovezi-idle.desktop || fail "the autostart entry is no conffile"
echo "install: ok"
