#!/bin/sh
# Installs the build into a staging folder, as a package build does, and
# checks what would land on a user's machine.
#   tree:     the files and links, both programs' --version, and a conversion
#             by the installed zenvora-cli with the installed encoders
#   metadata: the menu entry and the software-centre metadata pass the
#             desktop's own validators
# Usage: install_test.sh CMAKE BUILD_DIR VERSION BINDIR PROGRAMDIR DATADIR tree|metadata
set -eu

cmake=$1 build=$2 version=$3 bindir=$4 programdir=$5 datadir=$6 mode=$7
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
metainfo="$root/$datadir/metainfo/example.zenvora.Zenvora.metainfo.xml"

check_metadata() {
    command -v desktop-file-validate > /dev/null ||
        skip "desktop-file-validate is missing (Debian package desktop-file-utils)"
    command -v appstreamcli > /dev/null || skip "appstreamcli is missing (Debian package appstream)"
    desktop-file-validate "$desktop" || fail "zenvora.desktop does not validate"
    appstreamcli validate --no-net "$metainfo" || fail "the metainfo file does not validate"
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
        "$programdir/data/coder.exe" "$programdir/data/coder2.exe"; do
        [ -f "$root/$file" ] && [ -x "$root/$file" ] || fail "$file is missing or not executable"
    done
    for file in "$programdir/sound.wav" "$programdir/help/index.html" \
        "$datadir/applications/zenvora.desktop" \
        "$datadir/metainfo/example.zenvora.Zenvora.metainfo.xml" \
        "$datadir/icons/hicolor/scalable/apps/zenvora.svg"; do
        [ -s "$root/$file" ] || fail "$file is missing or empty"
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
}

case "$mode" in
tree) check_tree ;;
metadata) check_metadata ;;
*) fail "unknown mode $mode" ;;
esac
echo "PASS: installed $mode"
