#!/bin/sh
# Stands in for conv.exe, coder.exe and coder2.exe in the batch driver tests.
# What it does depends on the input's name: "fail" exits 1, "crash" dies of a
# signal, "nospace" fails as on a full disk, "says" prints the input's lines
# after the first and exits with the status the first holds, "noout"
# succeeds without writing, "taken" writes under another name and says so,
# "slow" writes a part file and sleeps until stopped, "pair" waits in
# conv.exe until as many jobs as the file side-by-side says have started,
# logging its start and end in overlap.log, and takes a while in the
# coders. Otherwise it prints progress and writes its output, which records
# every encoder that touched the job.
name=$(basename "$0")
here=$(dirname "$0")
input=""
output=""
if [ "$name" = "conv.exe" ]; then
    input="$1"
    while [ $# -gt 0 ]; do
        [ "$1" = "-o" ] && output="$2"
        shift
    done
else
    while [ $# -gt 0 ]; do
        [ "$1" = "-i" ] && input="$2"
        output="$1"
        shift
    done
fi
echo "$name $input -> $output" >> "$here/calls.log"

[ -f "$here/fail-$name" ] && { echo "$name: told to fail"; exit 1; }
case "$input" in
*fail*) echo "$name: cannot decode $input"; exit 1 ;;
*nospace*) echo "$name: [disk-full] the conversion failed: No space left on device"; exit 1 ;;
*says*) tail -n +2 "$input"; exit "$(head -n 1 "$input")" ;;
*crash*) echo "$name: about to crash"; kill -SEGV $$ ;;
*noout*) echo "(100%)"; exit 0 ;;
*taken*)
    # The name it was given was taken meanwhile: it writes the next free one.
    output="${output%.*}-9.${output##*.}"
    { cat "$input"; echo "$name"; } > "$output"
    echo "Saved to: $output"
    exit 0 ;;
*slow*)
    part="$(dirname "$output")/.$(basename "${output%.*}").part-tEst01.${output##*.}"
    echo partial > "$part"
    echo "( 5%)"
    sleep 30 &
    echo $! >> "$here/sleeper.pid"
    wait
    exit 1 ;;
*pair*)
    if [ "$name" = "conv.exe" ]; then
        echo "+" >> "$here/overlap.log"
        tries=0
        while [ "$(grep -c '^+' "$here/overlap.log")" -lt "$(cat "$here/side-by-side")" ] &&
            [ $tries -lt 100 ]; do
            sleep 0.05
            tries=$((tries + 1))
        done
        sleep 0.2 # room for a job too many to start meanwhile
        echo "-" >> "$here/overlap.log"
    fi ;;
esac
# A coder reads the intermediate file; its output names the job. Its output
# appears late, as a real encoder's does.
case "$name:$output" in conv.exe:*) ;; *pair*) sleep 0.2 ;; esac
[ -f "$input" ] || { echo "$name: no such file $input"; exit 1; }
if [ "$name" = "conv.exe" ]; then
    echo "Pos:   1.0s     25f ( 7%)  25.00fps"
    sleep 0.1
    echo "Pos:   2.0s     50f (100%)  25.00fps"
else
    echo "  Duration: 00:00:10.00, start: 0.000000, bitrate: 100 kb/s"
    printf 'frame=  125 fps= 25 q=2.0 size=  10kB time=5.00 bitrate= 1.0kbits/s\r'
fi
{ cat "$input"; echo "$name"; } > "$output"
