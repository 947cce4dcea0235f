#!/bin/sh
# Starts the real program on a virtual display with a clip on its command
# line, queues a second clip through the open-file dialog and a third by a
# second start of the program, converts all three to MPG with the Start
# button, checks the outputs, and leaves through the window's own close
# button, which saves the settings. Second starts end at once without a
# window of their own, whether or not they were given files.
# Usage: gui_convert_one_file.sh PROGRAM_FOLDER
set -eu

bin=$1
. "$(dirname "$0")/window_session.sh"
start_display || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
mkdir -p "$work/clips"

# xdotool cannot type every Chinese character reliably, so this name is ASCII.
clip="$work/clips/holiday clip.avi"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=320x240:rate=25:duration=2 \
    -f lavfi -i sine=duration=2 -c:v mpeg4 -c:a libmp3lame "$clip"
cp "$clip" "$work/clips/started with.avi"
cp "$clip" "$work/clips/假期 handed over.avi"

# MPG (format 2) into our own output folder.
printf '"7"\r\n"1"\r\n"1"\r\n"%s"\r\n"2"\r\n' "$work/out" > "$XDG_CONFIG_HOME/Zenvora/setup.ini"

"$bin/zenvora" "$work/clips/started with.avi" > "$work/zenvora.log" 2>&1 &
pid=$!
pids="$pids $pid"
window=$(main_window) ||
    fail "the window did not appear"

timeout "$(deadline 10)" "$bin/zenvora" || fail "a second start did not end by itself"
(cd "$work/clips" && timeout "$(deadline 10)" "$bin/zenvora" "假期 handed over.avi") ||
    fail "a second start with a file did not hand it over"
[ "$(xdotool search --onlyvisible --name '^Zenvora$' | wc -l)" -eq 1 ] ||
    fail "a second start showed a window"

click() { # x y inside the window
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

click 47 33 # 添加文件
dialog=$(find_window 10 --name '^Open Files$') ||
    fail "the open-file dialog did not appear"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$clip"
xdotool key Return
dialog_gone() { ! xdotool search --onlyvisible --name '^Open Files$' >/dev/null 2>&1; }
wait_until 10 dialog_gone || fail "the open-file dialog did not close"

# A click right after the dialog closes can reach the window before it takes
# input again; one that started nothing is given again.
started() { pgrep -P "$pid" -f 'data/(conv|coder2?)\.exe' >/dev/null || [ -d "$work/out" ]; }
for _ in 1 2 3 4 5; do
    click 582 393 # 立刻开始转换！
    wait_until 2 started && break
done
all_converted() {
    count=$(ls "$work/out/"*.mpg 2>/dev/null | wc -l)
    [ "$count" -eq 3 ] && ! ls -a "$work/out" | grep -q '\.part-'
}
wait_until 60 all_converted ||
    fail "$count of 3 outputs appeared; program log: $(cat "$work/zenvora.log")"
for name in "holiday clip" "started with" "假期 handed over"; do
    set -- "$work/out/$name-"*.mpg
    [ -f "$1" ] || fail "no output for $name among: $(ls "$work/out")"
    streams=$(ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 "$1" | tr "\n" " ")
    [ "$streams" = "mpeg2video mp2 " ] || fail "$1 holds '$streams'"
done

# The batch has ended once the window runs no encoder any more.
no_encoder() { ! pgrep -P "$pid" -f 'data/(conv|coder2?)\.exe' >/dev/null; }
wait_until 20 no_encoder || fail "an encoder was still running after the outputs appeared"
click 679 17 # the window's own close button
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_until 10 ended || fail "the program did not end"
grep -q '"2"' "$XDG_CONFIG_HOME/Zenvora/setup.ini" || fail "setup.ini was not saved"
echo "PASS: converted the three clips through the window"
