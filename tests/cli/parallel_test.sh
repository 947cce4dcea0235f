#!/bin/sh
# A large conversion spread as the README shows it: GNU parallel starts one
# zenvora-cli per file, three at a time, all writing into one output folder.
# The inputs share one name, so jobs started in the same second build the
# same output name: each output must still be its own, complete, and nothing
# else may be left in the folder.
# Usage: parallel_test.sh PROGRAM_DIR
set -eu

cli=$1/zenvora-cli
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
command -v parallel > /dev/null || {
    echo "SKIP: GNU parallel is missing (Debian package parallel)"
    exit 77
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME"

# Tone n lasts 0.5 + n/4 seconds, so every output tells which input it came from.
expected=""
for n in 1 2 3 4 5 6 7 8 9 10 11 12; do
    mkdir -p "$work/in/$n"
    seconds=$(awk -v n="$n" 'BEGIN { printf "%.2f", 0.5 + n / 4 }')
    ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=$((200 + 50 * n)):duration=$seconds" \
        "$work/in/$n/the clip.wav"
    expected="$expected $seconds"
done

out="$work/out"
find "$work/in" -name '*.wav' -print0 |
    parallel -0 --will-cite --sshlogin 3/: --joblog "$work/jobs.log" \
        "$cli" -f mp3 -o "$out" {} > "$work/parallel.log" 2>&1 ||
    fail "parallel reports failed jobs: $(cat "$work/parallel.log")"

# Every job ended with status 0, as the job log records it for a scheduler.
[ "$(awk 'NR > 1 && $7 == 0' "$work/jobs.log" | wc -l)" -eq 12 ] ||
    fail "not twelve successful jobs: $(cat "$work/jobs.log")"
# Twelve outputs and nothing else, no hidden part file among them.
[ "$(ls -A "$out" | wc -l)" -eq 12 ] || fail "the output folder holds: $(ls -A "$out")"
ls -A "$out" | grep -q '^\.' && fail "left behind: $(ls -A "$out" | grep '^\.')"
# Each output is the name its job reported, and no two jobs reported one name.
sed -n 's/^\[1\/1\] -> //p' "$work/parallel.log" | sort > "$work/reported"
[ "$(sort -u "$work/reported" | wc -l)" -eq 12 ] || fail "reported: $(cat "$work/reported")"
find "$out" -type f | sort | cmp -s - "$work/reported" ||
    fail "the reported names are not the files: $(cat "$work/reported")"
# Each input's whole length came out once: the durations, to the nearest
# quarter second, are the inputs' own.
found=""
for file in "$out"/*; do
    seconds=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$file")
    found="$found $(awk -v s="$seconds" 'BEGIN { printf "%.2f", int(s * 4 + 0.5) / 4 }')"
done
[ "$(echo $found | tr ' ' '\n' | sort -n)" = "$(echo $expected | tr ' ' '\n' | sort -n)" ] ||
    fail "durations $found, expected $expected"
# The private working folders of all twelve runs are gone.
[ -z "$(find "$XDG_CACHE_HOME" -mindepth 2 2> /dev/null)" ] ||
    fail "left in the cache: $(find "$XDG_CACHE_HOME" -mindepth 2)"
echo "PASS: twelve files through GNU parallel"
