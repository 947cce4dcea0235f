#!/bin/sh
# The window at a Linux desktop (openbox, a private session bus): the
# converted file shown by the file manager over the bus; without one,
# xdg-open asked and, when it has nothing to open with, the user told with
# the path, for the output folder and the web link alike; the keys (Ctrl+O,
# F1, Delete, Ctrl+Return, Ctrl+Q); and after a kill, the restore question
# over the window, where Return keeps the files.
# Usage: gui_desktop_and_keys.sh PROGRAM_FOLDER FAKE_DESKTOP_SERVICES
#   (77: no openbox or dbus-daemon; ZENVORA_SCREENSHOTS: a folder to keep
#   the screenshots in)
set -eu

bin=$1
fakes=$2
. "$(dirname "$0")/window_session.sh"
require_tools openbox dbus-daemon dbus-send import xwininfo
start_display -screen 0 1024x768x24 || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
start_window_manager
start_session_bus
"$fakes" "$work/file-manager.log" FileManager1 &
file_manager_pid=$!
pids="$pids $file_manager_pid"
file_manager_on_bus() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.FileManager1 | grep -q true
}
wait_until 10 file_manager_on_bus || fail "the test's file manager did not take its name"

mkdir -p "$work/clips"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -f lavfi -i sine=duration=1 -c:v mpeg4 -c:a libmp3lame "$work/clips/a.avi"
for name in b c d; do cp "$work/clips/a.avi" "$work/clips/$name.avi"; done
# MPG (format 2) into our own output folder.
printf '"7"\r\n"1"\r\n"1"\r\n"%s"\r\n"2"\r\n' "$work/out" > "$XDG_CONFIG_HOME/Zenvora/setup.ini"

keys() {
    xdotool windowactivate --sync "$window" 2> /dev/null || true
    xdotool key --clearmodifiers "$@"
}
windows_named() { xdotool search --onlyvisible --name "$1" 2> /dev/null | wc -l; }
shown() { [ "$(windows_named "$1")" -ge 1 ]; }
gone() { [ "$(windows_named "$1")" -eq 0 ]; }
# A message box is the second visible window that bears the program's name.
box_shown() { [ "$(windows_named '^Zenvora$')" -ge 2 ]; }
box_gone() { [ "$(windows_named '^Zenvora$')" -eq 1 ]; }
screenshot() {
    [ -n "${ZENVORA_SCREENSHOTS:-}" ] || return 0
    mkdir -p "$ZENVORA_SCREENSHOTS"
    import -window root "$ZENVORA_SCREENSHOTS/$1.png"
}
converted() { ls "$work/out/$1-"*.mpg > /dev/null 2>&1; }
no_encoder() { ! pgrep -P "$pid" -f 'data/(conv|coder2?)\.exe' > /dev/null; }

# Ctrl+Return converts; the file manager shows the new file, selected.
start_program "$work/clips/a.avi"
keys ctrl+Return
wait_until 60 converted a || fail "a.avi was not converted: $(cat "$work/zenvora.log")"
wait_until 10 grep -q "^FileManager1.ShowItems file://$work/out/a-.*\.mpg\$" "$work/file-manager.log" ||
    fail "the file manager was not asked to show the output: $(cat "$work/file-manager.log" 2> /dev/null)"
[ ! -e "$work/xdg-open.log" ] || fail "xdg-open was called beside the file manager"

# No file manager on the bus, and xdg-open finds nothing to open with.
kill "$file_manager_pid"
wait_until 10 sh -c '! "$0"' file_manager_on_bus 2> /dev/null || true
echo 3 > "$work/xdg-open.status"
wait_until 10 no_encoder || fail "the first batch did not end"
"$bin/zenvora" "$work/clips/b.avi" || fail "b.avi was not handed over"
sleep 1
keys ctrl+Return
wait_until 60 converted b || fail "b.avi was not converted: $(cat "$work/zenvora.log")"
wait_until 20 box_shown || fail "no message told that the folder could not be opened"
grep -q "^$work/out/\?\$" "$work/xdg-open.log" || fail "xdg-open was not asked: $(cat "$work/xdg-open.log")"
grep -q "xdg-open could not open" "$work/zenvora.log" || fail "the failure is not on stderr"
screenshot folder-not-opened
keys Return
wait_until 10 box_gone || fail "the message did not close with Return"

# The web link the same way.
xdotool mousemove --window "$window" 26 452 click 1
wait_until 10 box_shown || fail "no message told that the page could not be opened"
grep -q '^https://zenvora.example/$' "$work/xdg-open.log" || fail "xdg-open was not given the page"
screenshot page-not-opened
keys Return
wait_until 10 box_gone || fail "the page message did not close with Return"

# F1 shows the help; Ctrl+O the open-file dialog.
keys F1
wait_until 10 shown '^Zenvora 帮助$' || fail "F1 did not open the help"
help=$(xdotool search --onlyvisible --name '^Zenvora 帮助$' | head -n 1)
xdotool windowclose "$help" 2> /dev/null || xdotool windowkill "$help"
wait_until 10 gone '^Zenvora 帮助$' || fail "the help did not close"
keys ctrl+o
wait_until 10 shown '^Open Files$' || fail "Ctrl+O did not open the file dialog"
keys Escape
wait_until 10 gone '^Open Files$' || fail "the file dialog did not close with Escape"

# Delete removes the selected row; the queue on disk follows.
"$bin/zenvora" "$work/clips/c.avi" "$work/clips/d.avi" || fail "c and d were not handed over"
queue=$(find "$XDG_DATA_HOME" -name queue.json | head -n 1)
queued() { [ -n "$queue" ] && [ "$(grep -o '\.avi"' "$queue" | wc -l)" -eq "$1" ]; }
wait_until 10 sh -c 'queue=$(find "$0" -name queue.json); [ -n "$queue" ] && grep -q d.avi "$queue"' \
    "$XDG_DATA_HOME" || fail "the queue was not kept on disk"
queue=$(find "$XDG_DATA_HOME" -name queue.json | head -n 1)
xdotool mousemove --window "$window" 100 124 click 1 # the first row, under the header
screenshot row-selected
keys Delete
wait_until 10 queued 1 || fail "Delete did not remove the row: $(cat "$queue")"
grep -q 'd.avi' "$queue" || fail "Delete removed the wrong row: $(cat "$queue")"

# Killed, and started again: the question comes over the window, and
# Return keeps the file.
kill -9 "$pid"
start_program
wait_until 20 shown '^恢复$' || fail "no restore question after the kill"
question=$(xdotool search --onlyvisible --name '^恢复$' | head -n 1)
screenshot restore-question
centre() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x + int(w / 2), y + int(h / 2), x, y, w, h }'; }
set -- $(centre "$question") $(centre "$window")
[ "$1" -ge "$5" ] && [ "$1" -le $(($5 + $7)) ] && [ "$2" -ge "$6" ] && [ "$2" -le $(($6 + $8)) ] ||
    fail "the question's centre $1,$2 is outside the window at $5,$6 ${7}x$8"
xdotool windowactivate --sync "$question" 2> /dev/null || true
xdotool key Return
wait_until 10 gone '^恢复$' || fail "the question did not close with Return"
keys ctrl+Return
wait_until 60 converted d || fail "the restored file was not converted"
wait_until 20 box_shown && keys Return # the folder, again not opened
wait_until 10 no_encoder || fail "the restored batch did not end"

# Ctrl+Q ends the program.
keys ctrl+q
wait_until 10 sh -c '! kill -0 "$0" 2> /dev/null' "$pid" || fail "Ctrl+Q did not end the program"
echo "PASS: folders and pages open or are told, the keys work, the restore question sits over the window"
