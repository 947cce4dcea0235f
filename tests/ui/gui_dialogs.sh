#!/bin/sh
# The options and feedback dialogs in the real window under a window
# manager (openbox): a click on the window's background does not start a
# move that follows the pointer; each opens centred over the window, the options dialog
# is painted to its right edge, moves when its background is dragged, and
# opens its ON/OFF list under its combo wherever it has been moved to.
# Usage: gui_dialogs.sh PROGRAM_FOLDER   (77: no openbox)
set -eu

bin=$1
. "$(dirname "$0")/window_session.sh"
require_tools openbox import xwininfo
start_display -screen 0 1024x768x24 || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
start_window_manager
"$bin/zenvora" > "$work/zenvora.log" 2>&1 &
pids="$pids $!"
window=$(main_window) ||
    fail "the window did not appear"
sleep 1

# X, Y, WIDTH and HEIGHT of a window, inside its frame. (xdotool's own
# reading counts the frame's title bar twice under a reparenting manager.)
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'
}
near() { [ "$1" -ge $(($2 - 3)) ] && [ "$1" -le $(($2 + 3)) ]; }
# Clicks at X,Y in the window until the dialog named appears; prints its id.
open_dialog() { # x y name
    for _ in $(seq 1 10); do
        xdotool mousemove --window "$window" "$1" "$2" click 1
        found=$(timeout "$(deadline 2)" xdotool search --sync --onlyvisible --name "$3" |
            head -n 1)
        [ -n "$found" ] && echo "$found" && return 0
    done
    fail "no $3 dialog"
}
centred() { # dialog name
    set -- "$2" $(geometry "$1") $(geometry "$window")
    near $(($2 + $4 / 2)) $(($6 + $8 / 2)) && near $(($3 + $5 / 2)) $(($7 + $9 / 2)) ||
        fail "$1 at $2,$3 ${4}x$5 is not centred over the window at $6,$7 ${8}x$9"
}

# A click on the window's background leaves it where it is, however the
# pointer moves after it: a move starts only while the button is held.
set -- $(geometry "$window")
before="$1 $2"
xdotool mousemove --window "$window" 300 78 click 1
sleep 0.3
xdotool mousemove_relative --sync 120 80
sleep 0.3
xdotool mousemove_relative --sync 60 40
sleep 0.5
set -- $(geometry "$window")
[ "$1 $2" = "$before" ] || fail "a click on the background left the window following the pointer: $before, then $1 $2"

options=$(open_dialog 329 33 '^选项设置$') # 提示设置
sleep 0.5
centred "$options" options
set -- $(geometry "$options")

# Once painted, nothing of the window behind shows along the right edge,
# where the dialog has only its background.
edge_colours() {
    import -window root "$work/screen.png"
    ffmpeg -nostdin -v error -i "$work/screen.png" \
        -vf "crop=1:$(($4 - 10)):$(($1 + $3 - 4)):$(($2 + 5))" -f rawvideo -pix_fmt rgb24 - |
        od -An -v -tx1 | tr -s ' \n' '\n\n' | sed '/^$/d' | paste -d '' - - - | sort -u |
        tr '\n' ' '
}
for _ in $(seq 1 20); do
    colours=$(edge_colours "$@")
    [ "$colours" = "f3f6fa " ] && break
    sleep 0.25
done
[ "$colours" = "f3f6fa " ] || fail "the options dialog's right edge shows: $colours"

# Dragged by its background, it follows.
# The press must have reached the dialog before the pointer moves, or the
# first step is lost on a busy machine.
xdotool mousemove --window "$options" 20 100 mousedown 1
sleep 0.5
for step in 1 2 3 4 5; do
    xdotool mousemove_relative --sync 20 14
    sleep 0.1
done
xdotool mouseup 1
sleep 0.5
set -- "$1" "$2" $(geometry "$options")
near "$3" $(($1 + 100)) && near "$4" $(($2 + 70)) ||
    fail "dragged from $1,$2 by 100,70 the options dialog is at $3,$4"

# The list opens at its combo (74,38 in the dialog), not in a corner.
xdotool mousemove --window "$options" 150 48 click 1
sleep 1
popup=$(xwininfo -root -tree | awk '/"zenvora" "Zenvora"/ && /^ *0x[0-9a-f]+ "Zenvora"/' |
    grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]* *+[0-9]*+[0-9]*$' | awk '$1 ~ /^163x/ { print $2 }')
[ -n "$popup" ] || fail "the ON/OFF list did not open: $(xwininfo -root -tree | grep -i zenvora)"
popup_x=$(echo "$popup" | cut -d+ -f2)
popup_y=$(echo "$popup" | cut -d+ -f3)
near "$popup_x" $(($3 + 74)) && [ "$popup_y" -ge "$4" ] && [ "$popup_y" -le $(($4 + 60)) ] ||
    fail "the ON/OFF list opened at $popup_x,$popup_y; its combo is at $(($3 + 74)),$(($4 + 38))"
xdotool key Escape
# 返回, until the dialog has gone: a click that only closed the list is lost.
options_gone() { ! xdotool search --onlyvisible --name '^选项设置$' > /dev/null 2>&1; }
for _ in $(seq 1 10); do
    sleep 0.3
    xdotool mousemove --window "$options" 207 256 click 1 2> /dev/null || true
    wait_until 1 options_gone && break
done
options_gone || fail "the options dialog did not close with 返回"

feedback=$(open_dialog 647 454 '^建议和意见$') # 意见反馈
sleep 0.5
centred "$feedback" feedback
echo "PASS: the dialogs are centred, painted, movable and open their lists in place"
