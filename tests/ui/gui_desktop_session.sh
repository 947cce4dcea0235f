#!/bin/sh
# The window as a citizen of the desktop (openbox, private session and
# system buses with stand-in services): logind's inhibitor is held from the
# batch's first job to its end and dies with the program; the taskbar entry
# shows the batch's progress and is cleared; a user away from the window is
# notified, and the notification's action shows the folder; a user at the
# window is not. zenvora-cli holds the inhibitor too, unless --no-inhibit.
# Usage: gui_desktop_session.sh PROGRAM_FOLDER FAKE_DESKTOP_SERVICES
#   (77: no openbox or dbus-daemon; ZENVORA_KEEP_LOG: where to copy the services' log)
set -eu

bin=$1
fakes=$2
. "$(dirname "$0")/window_session.sh"
require_tools openbox dbus-daemon dbus-send xwininfo
start_display -screen 0 1024x768x24 || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
start_window_manager
start_session_bus
# A second bus stands in for the machine's, with logind on it.
session_address=$DBUS_SESSION_BUS_ADDRESS
mkdir -p "$work/system"
work="$work/system" start_session_bus
DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$session_address
export DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS

log="$work/services.log"
"$fakes" --system "$log" login1 &
pids="$pids $!"
"$fakes" "$log" Notifications LauncherEntry FileManager1 &
pids="$pids $!"
owned() {
    dbus-send "--$1" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$2" | grep -q true
}
wait_until 10 owned system org.freedesktop.login1 || fail "the stand-in logind did not start"
wait_until 10 owned session org.freedesktop.Notifications || fail "the stand-in services did not start"

mkdir -p "$work/clips"
# Long enough to be converting while the script looks.
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=640x480:rate=25:duration=40 \
    -f lavfi -i sine=duration=40 -c:v mpeg4 -q:v 4 -c:a libmp3lame "$work/clips/long.avi"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -f lavfi -i sine=duration=1 -c:v mpeg4 -c:a libmp3lame "$work/clips/short.avi"
printf '"7"\r\n"1"\r\n"1"\r\n"%s"\r\n"2"\r\n' "$work/out" > "$XDG_CONFIG_HOME/Zenvora/setup.ini"

lines() { grep -c "$1" "$log" 2> /dev/null || true; }
has_lines() { [ "$(lines "$1")" -ge "$2" ]; }
start_batch() {
    xdotool windowactivate --sync "$window" 2> /dev/null || true
    xdotool key --clearmodifiers ctrl+Return
}
no_encoder() { ! pgrep -P "$pid" -f 'data/(conv|coder2?)\.exe' > /dev/null; }

# Away from the window: awake while converting, progress on the taskbar,
# and a notification whose action shows the folder.
start_program "$work/clips/long.avi"
start_batch
wait_until 10 has_lines '^login1.Inhibit sleep:idle block$' 1 ||
    fail "the batch took no inhibitor: $(cat "$log")"
xdotool windowminimize "$window"
[ "$(lines '^login1.released$')" -eq 0 ] || fail "the inhibitor went before the batch's end"
wait_until 120 has_lines '^Notifications.Notify' 1 ||
    fail "no notification at the end: $(cat "$log"; tail -n 5 "$work/zenvora.log")"
wait_until 10 has_lines '^login1.released$' 1 || fail "the inhibitor was kept after the batch"
grep -q '^Notifications.Notify 转换完成|1 个成功，0 个失败|default,打开文件夹$' "$log" ||
    fail "the notification says: $(grep Notify "$log")"
grep -q 'LauncherEntry.Update application://zenvora.desktop progress=0.[0-9]* visible=yes count=1$' "$log" ||
    fail "no progress on the taskbar entry: $(grep LauncherEntry "$log" | head -n 3)"
[ "$(grep LauncherEntry "$log" | tail -n 1)" = \
    "LauncherEntry.Update application://zenvora.desktop progress=0 visible=no count=0" ] ||
    fail "the taskbar entry was not cleared: $(grep LauncherEntry "$log" | tail -n 2)"
grep LauncherEntry "$log" | grep -q 'progress=1 visible=yes count=0' ||
    fail "the taskbar progress did not reach the end"
shown_before=$(lines '^FileManager1.Show')
dbus-send --session --print-reply --dest=org.freedesktop.Notifications \
    /org/freedesktop/Notifications org.freedesktop.Notifications.InvokeAction \
    uint32:1 string:default > /dev/null
wait_until 10 has_lines '^FileManager1.ShowItems file://.*/out/long-.*\.mpg$' $((shown_before + 1)) ||
    fail "the notification's action did not show the folder: $(grep FileManager1 "$log")"

# At the window: no notification.
wait_until 20 no_encoder || fail "the first batch did not end"
xdotool windowactivate --sync "$window" 2> /dev/null || xdotool windowmap --sync "$window"
"$bin/zenvora" "$work/clips/short.avi" || fail "short.avi was not handed over"
sleep 1
start_batch
wait_until 60 has_lines '^login1.released$' 2 || fail "the second batch did not end: $(cat "$log")"
sleep 1
[ "$(lines '^Notifications.Notify')" -eq 1 ] || fail "a user at the window was notified"

# Killed in the middle of a batch, the inhibitor goes with the program.
"$bin/zenvora" "$work/clips/long.avi" || fail "long.avi was not handed over"
sleep 1
start_batch
wait_until 10 has_lines '^login1.Inhibit' 3 || fail "the third batch took no inhibitor"
[ "$(lines '^login1.released$')" -eq 2 ] || fail "the third batch ended before the kill"
kill -9 "$pid"
wait_until 10 has_lines '^login1.released$' 3 || fail "the inhibitor outlived the program"

# zenvora-cli the same, and not at all with --no-inhibit.
"$bin/zenvora-cli" -f mpg -o "$work/cli" "$work/clips/short.avi" > /dev/null 2>&1 ||
    fail "zenvora-cli did not convert"
wait_until 10 has_lines '^login1.released$' 4 || fail "zenvora-cli held no inhibitor: $(cat "$log")"
"$bin/zenvora-cli" --no-inhibit -f mpg -o "$work/cli" "$work/clips/short.avi" > /dev/null 2>&1 ||
    fail "zenvora-cli --no-inhibit did not convert"
sleep 1
[ "$(lines '^login1.Inhibit')" -eq 4 ] || fail "zenvora-cli --no-inhibit held an inhibitor"
[ -z "${ZENVORA_KEEP_LOG:-}" ] || cp "$log" "$ZENVORA_KEEP_LOG"
echo "PASS: awake during batches, progress on the taskbar, notified when away"
