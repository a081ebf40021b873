#!/bin/bash
# `cmake --install` lays out the program, its XScreenSaver display mode, the
# settings entry, the icon and the manual; the Debian package holds the same
# files and declares what the program needs at run time.
set -u
BUILD=$1
STAGE=$(mktemp -d)
trap 'rm -rf "$STAGE"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$STAGE/usr" >/dev/null || fail "cmake --install"
for file in bin/Dovezi libexec/xscreensaver/Dovezi share/xscreensaver/config/dovezi.xml \
    share/applications/dovezi-settings.desktop share/icons/hicolor/32x32/apps/dovezi.png \
    share/icons/hicolor/16x16/apps/dovezi.png share/man/man6/Dovezi.6; do
    [ -s "$STAGE/usr/$file" ] || fail "missing $file"
done
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
for file in ./usr/bin/Dovezi ./usr/libexec/xscreensaver/Dovezi ./usr/share/xscreensaver/config/dovezi.xml \
    ./usr/share/man/man6/Dovezi.6 ./etc/xdg/autostart/dovezi-idle.desktop; do
    echo "$contents" | grep -q " $file\$" || fail "the package lacks $file"
done
dpkg-deb -I "$deb" conffiles | grep -qx /etc/xdg/autostart/dovezi-idle.desktop || fail "the autostart entry is no conffile"
echo "install: ok"
