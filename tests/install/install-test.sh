#!/bin/sh
# Installs the build into a private folder as cmake --install does for a user,
# then checks the desktop application: every file in place, a valid menu
# entry, working tools, and the installed program starting on the example
# song and closing on Escape.
# install-test.sh CMAKE BUILD_DIR SOURCE_DIR ESCAPE_PRESSER_LIBRARY
set -u
cmake=$1
build=$2
source=$3
presser=$4
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$root" "$cmake" --install "$build" --prefix /usr/local >"$root/install.log" 2>&1 ||
    { cat "$root/install.log" >&2; fail "cmake --install failed"; }
prefix="$root/usr/local"

for file in bin/harmonet bin/harmonet-render bin/harmonet-dump \
    share/applications/harmonet.desktop \
    share/metainfo/org.harmonet.harmonet.metainfo.xml \
    share/icons/hicolor/scalable/apps/harmonet.svg \
    share/icons/hicolor/48x48/apps/harmonet.png \
    share/man/man1/harmonet.1.gz \
    share/doc/harmonet/examples/old-hundredth.mid; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
for page in "$source"/windows/help/*.html; do
    [ -s "$prefix/share/doc/harmonet/help/$(basename "$page")" ] || fail "help page $(basename "$page") is not installed"
done

# The PNG header names its width and height, 48 each, as 32-bit big-endian numbers.
size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/48x48/apps/harmonet.png" | tr -s ' ')
[ "$size" = " 0 0 0 48 0 0 0 48" ] || fail "the PNG icon is not 48 x 48 ($size)"
gzip -t "$prefix/share/man/man1/harmonet.1.gz" || fail "the manual page is not a gzip file"
desktop-file-validate "$prefix/share/applications/harmonet.desktop" || fail "the menu entry does not validate"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.harmonet.harmonet.metainfo.xml" ||
    fail "the software centres' listing does not validate"
"$prefix/bin/harmonet" --version | grep -qx "Harmonet [0-9.]*" || fail "harmonet --version does not name the version"

song="$source/examples/old-hundredth.mid"
"$prefix/bin/harmonet-dump" --count "$song" >/dev/null || fail "the installed harmonet-dump does not run"
"$prefix/bin/harmonet-render" "$song" "$root/song.wav" >/dev/null 2>&1 || fail "the installed harmonet-render does not run"

# No sound server is started for the built-in synthesizer: it plays into nothing.
# In an address-sanitized build the preloaded helper comes before the
# sanitizer's runtime, which then reads none of the program's own options:
# it is told to accept that order, and given the leak suppressions.
mkdir -p "$root/config" "$root/runtime"
chmod 700 "$root/runtime"
XDG_CONFIG_HOME="$root/config" XDG_RUNTIME_DIR="$root/runtime" PULSE_SERVER="unix:$root/runtime/none" \
    QT_QPA_PLATFORM=offscreen ESCAPE_WHEN_TITLE="Harmonet - old-hundredth.mid" LD_PRELOAD="$presser" \
    ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
    LSAN_OPTIONS="suppressions=$source/tests/sanitizers/leak.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    timeout 60 "$prefix/bin/harmonet" "$song" >"$root/run.log" 2>&1
status=$?
[ $status -eq 0 ] || { cat "$root/run.log" >&2; fail "the installed program ended with $status"; }
grep -q "old-hundredth.mid" "$root/config/Harmonet/Harmonet.ini" ||
    fail "the example song is not among the recent files after the run"
echo "installed and ran from $prefix"
