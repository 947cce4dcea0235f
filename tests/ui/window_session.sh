# Sourced (after "set -eu") by the scripts that drive the real window: a
# private work folder that is also the program's home and XDG folders, the
# processes listed in $pids ended and the folder removed on exit, and the
# small helpers they all use.

work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2> /dev/null || true; done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# A slower build (the sanitized one) sets ZENVORA_TEST_TIME_FACTOR, and
# every deadline below stretches by it. Each wait ends as soon as what it
# waits for has happened, so a longer deadline costs time only when that is
# late.
time_factor=${ZENVORA_TEST_TIME_FACTOR:-1}
case "$time_factor" in
'' | *[!0-9]* | 0) fail "ZENVORA_TEST_TIME_FACTOR is '$time_factor', not a whole number above 0" ;;
esac
deadline() { # seconds
    echo $(($1 * time_factor))
}
wait_until() { # seconds condition...
    limit=$(deadline "$1")
    shift
    for _ in $(seq 1 $((limit * 4))); do
        "$@" && return 0
        sleep 0.25
    done
    return 1
}
# A private virtual screen (Xvfb arguments as given) for the rest of the
# script. The server picks a free display itself and names it once it
# accepts connections: choosing a number beforehand races with other
# servers starting or ending on the same machine. It never resets: by
# default an X server starts afresh whenever its last client leaves, and
# drops a client still connecting at that moment, as the program or openbox
# may be while a helper's xdotool or xprop comes and goes.
start_display() {
    Xvfb -displayfd 3 -nolisten tcp -noreset "$@" 3> "$work/display" 2> "$work/xvfb.log" &
    pids="$pids $!"
    wait_until 10 test -s "$work/display" || return 1
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
}
# Exits with 77 (a skipped test) when one of the tools named is missing.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" > /dev/null || {
            echo "SKIP: $tool is not installed (tools/setup.sh installs it)"
            exit 77
        }
    done
}
# openbox on the display, once it has taken the screen: a window mapped
# before that may stay unseen.
start_window_manager() {
    openbox > "$work/openbox.log" 2>&1 &
    pids="$pids $!"
    wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; }
    wait_until 10 wm_ready || fail "openbox did not start: $(tail -n 3 "$work/openbox.log")"
}
# The program in the background ($bin/zenvora, its output in zenvora.log),
# its process in $pid and its main window in $window.
start_program() {
    "$bin/zenvora" "$@" >> "$work/zenvora.log" 2>&1 &
    pid=$!
    pids="$pids $pid"
    window=$(main_window) || fail "the window did not appear"
    sleep 1
}
# A private session bus for the rest of the script.
start_session_bus() {
    dbus-daemon --session --nofork --address="unix:path=$work/bus" --print-address=3 \
        3> "$work/bus.address" 2> "$work/bus.log" &
    pids="$pids $!"
    wait_until 10 test -s "$work/bus.address" ||
        fail "dbus-daemon did not start: $(cat "$work/bus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
}
# The id of the first mapped window that xdotool search finds with the
# options given, once there is one, within the seconds given. Asked again
# and again rather than with --sync: Debian 12's xdotool ends its search
# with an X error whenever any window goes away while it looks, as one does
# when a program starts or ends.
find_window() { # seconds search-options...
    limit=$1
    shift
    window_found() {
        found=$(xdotool search --onlyvisible "$@" 2> /dev/null | head -n 1)
        [ -n "$found" ]
    }
    wait_until "$limit" window_found "$@" && echo "$found"
}
# The main window's id once it is shown. Qt's hidden group leader bears the
# window's name but no class; the dialogs, shown later, have the class too.
main_window() {
    find_window 30 --class '^Zenvora$'
}

# No desktop's session bus: a script that wants one starts its own.
unset DBUS_SESSION_BUS_ADDRESS
# The window is driven and read in Chinese, whatever language the machine has.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Zenvora" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# xdg-open as the program finds it on PATH: each call's argument a line of
# $work/xdg-open.log, its exit status the number in $work/xdg-open.status
# (0 without one). No real program opens a folder or page during a test.
mkdir -p "$work/bin"
cat > "$work/bin/xdg-open" << 'END'
#!/bin/sh
work=$(dirname "$(dirname "$0")")
echo "$*" >> "$work/xdg-open.log"
exit "$(cat "$work/xdg-open.status" 2> /dev/null || echo 0)"
END
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
