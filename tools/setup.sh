#!/bin/sh
# Installs the Debian packages Zenvora needs when they are missing, builds it,
# then starts the program ("run") or runs the whole test suite ("test"): on
# this build, then on one with the sanitizers (tools/sanitized_tests.sh).
set -eu

mode=${1:-run}
case "$mode" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

packages="cmake g++ make pkg-config clang-format
qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6svg6 qt6-translations-l10n
qt6-tools-dev qt6-l10n-tools
ffmpeg libavcodec-extra libavformat-dev libavcodec-dev libavutil-dev
fonts-wqy-microhei fonts-noto-cjk xvfb xdotool xdg-utils procps pulseaudio pulseaudio-utils
openbox imagemagick x11-utils strace dbus-daemon
desktop-file-utils appstream dpkg-dev file fusefat dosfstools lintian parallel"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo > /dev/null; then
            cat >&2 << EOF
These Debian packages are missing:$missing
Installing them needs root; you are not root and sudo is not installed.
As root, either install them:
    apt-get install$missing
or install sudo and let $(id -un) use it, then log in again and repeat this command:
    apt-get install sudo && adduser $(id -un) sudo
EOF
            exit 1
        fi
        sudo="sudo"
    fi
    echo "Installing:$missing"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

# Both modes configure and build the same way, so either one after the other
# rebuilds nothing. Warnings are errors in both: this script builds with
# Debian 12's compiler, the one the tests run with, where any warning is a
# fault of ours rather than of a newer compiler (a plain cmake keeps them
# warnings for builders elsewhere).
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENVORA_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"

if [ "$mode" = run ]; then
    exec "$build/bin/zenvora"
fi
# The benchmarks are not run here, only built, so that they keep compiling.
cmake --build "$build" --target bench --parallel "$(nproc)"
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)")
# The real-window scripts are left to the normal pass: under the sanitized
# build they only time the same code more slowly.
exec sh "$root/tools/sanitized_tests.sh" -L 'unit|e2e'
