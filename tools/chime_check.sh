#!/bin/sh
# Converts ten one-file batches in the real window with the completion sound
# on, records what a private PulseAudio server's null sink plays, and counts
# the batches whose chime was heard in full: as long, at the same loudness
# threshold, as the sound file itself.
# Usage: tools/chime_check.sh [PROGRAM_FOLDER]   (default: build/bin)
# Exits 0 when all ten were full, 1 when not, 77 when it cannot run here
# (no sound server can be started, or a tool is missing).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
batches=10
threshold=-50dB

skip() {
    echo "SKIP: $*"
    exit 77
}
for tool in pulseaudio pactl parec Xvfb xdotool ffmpeg; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (tools/setup.sh installs it)"
done
[ -x "$bin/zenvora" ] || skip "no program in $bin; build first"

. "$root/tests/ui/window_session.sh"
mkdir -p "$work/clips"
unset PULSE_SERVER

pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
    -L module-native-protocol-unix -L "module-null-sink sink_name=zenvora_chime" \
    2> "$work/pulseaudio.log" &
pids="$pids $!"
wait_until 10 pactl info > /dev/null 2>&1 ||
    skip "no PulseAudio server could be started: $(tail -n 3 "$work/pulseaudio.log")"
pactl set-default-sink zenvora_chime

start_display -screen 0 1024x768x24 || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"

for i in $(seq 1 $batches); do
    ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
        -f lavfi -i sine=duration=1 -c:v mpeg4 -c:a libmp3lame "$work/clips/clip$i.avi"
done
# MPG into our own folder; without options.ini the sound is on.
printf '"7"\r\n"1"\r\n"1"\r\n"%s"\r\n"2"\r\n' "$work/out" > "$XDG_CONFIG_HOME/Zenvora/setup.ini"

parec -d zenvora_chime.monitor --format=s16le --rate=44100 --channels=1 --file-format=wav \
    "$work/heard.wav" &
recorder=$!
pids="$pids $recorder"

"$bin/zenvora" "$work/clips/clip1.avi" > "$work/zenvora.log" 2>&1 &
app=$!
pids="$pids $app"
window=$(main_window) ||
    fail "the window did not appear"

outputs() { ls "$work/out/"*.mpg 2> /dev/null | wc -l; }
no_encoder() { ! pgrep -P "$app" -f 'data/(conv|coder2?)\.exe' > /dev/null; }
for i in $(seq 1 $batches); do
    [ "$i" -eq 1 ] || "$bin/zenvora" "$work/clips/clip$i.avi" || fail "clip $i was not handed over"
    # A click that reaches the window before it takes input is given again.
    converted() { [ "$(outputs)" -ge "$i" ]; }
    started() { ! no_encoder || converted; }
    for _ in 1 2 3 4 5; do
        xdotool mousemove --window "$window" 582 393 click 1
        wait_until 2 started && break
    done
    wait_until 60 converted || fail "batch $i made no output: $(cat "$work/zenvora.log")"
    wait_until 20 no_encoder || fail "batch $i did not end"
    # The chime and a pause before the next batch.
    sleep 2
done
kill "$recorder"
wait "$recorder" 2> /dev/null || true

# Lengths of the stretches louder than the threshold, in seconds.
loud_lengths() { # file [filters before the padding]
    ffmpeg -nostdin -hide_banner -i "$1" -af "${2:-}apad=pad_dur=1,silencedetect=n=$threshold:d=0.01" \
        -f null - 2>&1 | grep -o 'silence_[a-z]*: [0-9.]*' |
        awk '$1 == "silence_end:" { end = $2 }
             $1 == "silence_start:" && end != "" { printf "%.3f\n", $2 - end }'
}
# The sound file starts loud: a lead of silence lets its start be found too.
full=$(loud_lengths "$bin/sound.wav" adelay=500, | head -n 1)
heard=$(loud_lengths "$work/heard.wav" | tr '\n' ' ')
complete=$(echo "$heard" | tr ' ' '\n' | awk -v full="$full" 'NF && $1 >= full - 0.015 { n++ } END { print n + 0 }')
echo "chime: ${full}s; heard: ${heard:-nothing}"
echo "$complete of $batches batches ended with the full chime"
[ "$complete" -eq "$batches" ]
