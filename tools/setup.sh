#!/bin/sh
# Installs the Debian packages Zenvora needs when they are missing, builds it,
# then starts the program ("run") or runs the whole test suite ("test").
set -eu

mode=${1:-run}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

packages="cmake g++ make pkg-config clang-format
qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6svg6 qt6-translations-l10n
ffmpeg libavcodec-extra libavformat-dev libavcodec-dev libavutil-dev
fonts-wqy-microhei xvfb xauth xdotool xdg-utils procps
desktop-file-utils appstream dpkg-dev file fusefat dosfstools"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing:$missing"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

# Tests build with warnings as errors, so no new warning lands unnoticed.
werror=OFF
[ "$mode" = test ] && werror=ON
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENVORA_WERROR=$werror
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
run)
    exec "$build/bin/zenvora"
    ;;
test)
    cd "$build"
    exec ctest --output-on-failure --parallel "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
