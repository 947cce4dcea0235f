#!/bin/sh
# Builds Zenvora with AddressSanitizer and UndefinedBehaviorSanitizer into a
# build folder of its own, warnings still errors, and runs the test suite on
# it. A sanitizer report fails the run twice over: it ends the process that
# made it, so its test fails where it happened, and a report line anywhere in
# the tests' output fails the run even when the test around it passed (one
# from a child process whose failure the test expected, say).
# tools/setup.sh test runs it after the normal suite, once the packages it
# needs are installed.
# Usage: tools/sanitized_tests.sh [CTEST_ARGUMENTS...]   (default: every test)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENVORA_WERROR=ON \
    -DZENVORA_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"

# Leaks are looked for too (LeakSanitizer, at each process's end): what Qt
# and the libraries under it keep until then is still reachable and goes
# unreported, so the runs are quiet and a report is a real leak.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd "$build"
log="$build/sanitized-tests.log"
rm -f "$log" "$build/Testing/Temporary/LastTest.log"
{
    status=0
    ctest --output-on-failure --parallel "$(nproc)" "$@" 2>&1 || status=$?
    echo "$status" > "$build/ctest-status"
} | tee "$log"

# LastTest.log holds the output of every test, passed ones included.
if grep -hE 'AddressSanitizer|LeakSanitizer|runtime error' "$log" Testing/Temporary/LastTest.log \
    > "$build/reports"; then
    echo "FAIL: the sanitizers reported:" >&2
    sort -u "$build/reports" >&2
    exit 1
fi
exit "$(cat "$build/ctest-status")"
