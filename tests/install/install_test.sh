#!/bin/sh
# Installs the build into a staging folder, as a package build does, and
# checks what would land on a user's machine.
#   tree:     the files and links, both programs' --version, a conversion
#             by the installed zenvora-cli with the installed encoders, and
#             its English texts found through the program folder
#   metadata: the menu entry and the software-centre metadata pass the
#             desktop's own validators, pedantic ones included, and name
#             the version being built
#   package:  the Debian package cpack makes passes lintian and carries the
#             English texts and help page (skipped in a sanitized build,
#             which is never packaged)
# Usage: install_test.sh CMAKE BUILD_DIR VERSION BINDIR PROGRAMDIR SHAREDDIR DATADIR MANDIR
#                        tree|metadata|package
set -eu

cmake=$1 build=$2 version=$3 bindir=$4 programdir=$5 shareddir=$6 datadir=$7 mandir=$8 mode=$9
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
skip() {
    echo "SKIP: $*"
    exit 77
}

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr > "$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
root="$work/stage/usr"
desktop="$root/$datadir/applications/zenvora.desktop"
metainfo="$root/$datadir/metainfo/com.velmora.zenvora.metainfo.xml"
docdir="$root/$datadir/doc/zenvora"

check_metadata() {
    command -v desktop-file-validate > /dev/null ||
        skip "desktop-file-validate is missing (Debian package desktop-file-utils)"
    command -v appstreamcli > /dev/null || skip "appstreamcli is missing (Debian package appstream)"
    desktop-file-validate "$desktop" || fail "zenvora.desktop does not validate"
    appstreamcli validate --pedantic --no-net "$metainfo" > "$work/appstream.log" 2>&1 ||
        fail "the metainfo file does not validate: $(cat "$work/appstream.log")"
    cat "$work/appstream.log"
    ! grep -q '^[EWIP]: ' "$work/appstream.log" || fail "appstreamcli finds issues"
    grep -q "<release version=\"$version\"" "$metainfo" ||
        fail "the metainfo file has no release $version"
    zcat "$docdir/changelog.gz" | head -n 1 | grep -q "^zenvora ($version) " ||
        fail "the changelog begins: $(zcat "$docdir/changelog.gz" | head -n 1)"
    # The installed tree as a whole: the metadata's launchable names the menu entry.
    appstreamcli validate-tree --no-net "$root/.." || fail "the installed tree does not validate"
    # Every type offered to file managers must be one the system knows.
    if [ -d /usr/share/mime/video ]; then
        for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
            [ -f "/usr/share/mime/$(echo "$type" | tr 'A-Z' 'a-z').xml" ] ||
                fail "unknown MIME type $type in zenvora.desktop"
        done
    fi
}

check_tree() {
    for file in "$programdir/zenvora" "$programdir/zenvora-cli" "$programdir/data/conv.exe" \
        "$programdir/data/coder.exe" "$programdir/data/coder2.exe" "$programdir/data/probe-server"; do
        [ -f "$root/$file" ] && [ -x "$root/$file" ] || fail "$file is missing or not executable"
    done
    for file in "$programdir/sound.wav" "$programdir/help/index.html" \
        "$programdir/help/index_en.html" "$programdir/translations/zenvora_en.qm" \
        "$programdir/data/probe.so" \
        "$datadir/applications/zenvora.desktop" \
        "$datadir/metainfo/com.velmora.zenvora.metainfo.xml" \
        "$datadir/icons/hicolor/scalable/apps/zenvora.svg" \
        "$mandir/man1/zenvora.1.gz" "$mandir/man1/zenvora-cli.1.gz" \
        "$datadir/doc/zenvora/copyright" "$datadir/doc/zenvora/changelog.gz"; do
        [ -s "$root/$file" ] || fail "$file is missing or empty"
    done
    # What is the same on every architecture lies under share/, reached from
    # the program folder through links.
    for name in help sound.wav translations; do
        [ -L "$root/$programdir/$name" ] &&
            [ "$(readlink -f "$root/$programdir/$name")" = "$(readlink -f "$root/$shareddir/$name")" ] ||
            fail "$programdir/$name does not lead to $shareddir/$name"
    done
    grep -qx 'Icon=zenvora' "$desktop" || fail "the menu entry names another icon"
    # Relative links, so they hold in a staging folder as in the package.
    for program in zenvora zenvora-cli; do
        link="$root/$bindir/$program"
        [ -L "$link" ] || fail "$bindir/$program is not a link"
        [ "$(readlink -f "$link")" = "$(readlink -f "$root/$programdir/$program")" ] ||
            fail "$bindir/$program leads to $(readlink -f "$link")"
    done

    [ "$("$root/$bindir/zenvora-cli" --version)" = "zenvora-cli $version" ] ||
        fail "zenvora-cli --version says '$("$root/$bindir/zenvora-cli" --version)'"
    # No display needed to ask the window's program for its version.
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/$bindir/zenvora" --version)
    [ "$answer" = "zenvora $version" ] || fail "zenvora --version says '$answer'"
    # The manual page describes every option the program knows: each heads
    # an item of its own (the line after .TP).
    zcat "$root/$mandir/man1/zenvora-cli.1.gz" | sed 's/\\-/-/g' |
        awk 'item { print } { item = /^\.TP/ }' > "$work/items"
    for option in $("$root/$bindir/zenvora-cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -qE -- "$option([ \"\\\\]|$)" "$work/items" || fail "zenvora-cli.1 does not describe $option"
    done

    # The encoders are found beside the real executable, not beside the link.
    export HOME="$work/home" XDG_CACHE_HOME="$work/cache"
    mkdir -p "$HOME"
    ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=1 "$work/tone.wav"
    "$root/$bindir/zenvora-cli" -f mp3 -o "$work/out" "$work/tone.wav" > "$work/cli.log" 2>&1 ||
        fail "the installed zenvora-cli failed: $(cat "$work/cli.log")"
    set -- "$work/out"/tone-*.mp3
    [ $# -eq 1 ] && [ -s "$1" ] || fail "no single MP3 came out: $(ls "$work/out")"
    codec=$(ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 "$1")
    [ "$codec" = mp3 ] || fail "the output holds '$codec'"
    # A file that is not there fails, told in the language asked for: the
    # English texts are found through the program folder.
    told_in() { # language, the words before the reason
        if "$root/$bindir/zenvora-cli" --lang "$1" -f mp3 -o "$work/out" "$work/gone.wav" \
            > "$work/told.log" 2>&1; then
            fail "a file that is not there converted"
        fi
        grep -qF "] $2" "$work/told.log" || fail "zenvora-cli --lang $1 says: $(cat "$work/told.log")"
    }
    told_in zh '失败：'
    told_in en 'failed: '
}

check_package() {
    # Its libraries take malloc, memcpy and the like from the sanitizer's
    # runtime instead of libc, which lintian rightly rejects in a package.
    [ "${ZENVORA_SANITIZED:-0}" = 0 ] ||
        skip "a sanitized build is for tests, not for packaging; a normal build checks the package"
    command -v lintian > /dev/null || skip "lintian is missing (Debian package lintian)"
    "$(dirname "$cmake")/cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" \
        > "$work/cpack.log" 2>&1 || fail "cpack failed: $(cat "$work/cpack.log")"
    set -- "$work/package"/zenvora_"$version"_*.deb
    [ $# -eq 1 ] && [ -f "$1" ] || fail "no package came out: $(cat "$work/cpack.log")"
    # Errors and warnings fail; the finer levels are shown for a reader.
    lintian --fail-on error,warning --display-info --pedantic "$1" ||
        fail "lintian rejects the package"
    for file in "/usr/$shareddir/translations/zenvora_en.qm" "/usr/$shareddir/help/index_en.html"; do
        dpkg-deb --contents "$1" | grep -q " \.$file\$" || fail "the package lacks $file"
    done
}

case "$mode" in
tree) check_tree ;;
metadata) check_metadata ;;
package) check_package ;;
*) fail "unknown mode $mode" ;;
esac
echo "PASS: installed $mode"
