#!/bin/sh
# Resident memory of the module across opening and closing every page of the
# menu against the simulated access point, BENCH_ROUNDS times (default 50):
# after the first round, after the last, and the growth between (at most 1 MB;
# the exit status is not 0 beyond it).
# With ASAN_BUILD_DIR (a -DQRT_SANITIZE=ON build holding bench/page_memory),
# a few rounds there as well, and the leak checker's findings at exit as a count.
set -eu
BUILD_DIR=${BUILD_DIR:-build}
ROUNDS=${BENCH_ROUNDS:-50}
here=$(cd "$(dirname "$0")/.." && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$BUILD_DIR/bench/page_memory" --rounds "$ROUNDS" >"$log" 2>&1 || status=$?
grep -E '^(BENCH|#)' "$log" || true
[ "$status" -eq 0 ] || { echo "# page_memory ended with status $status" >&2; tail -20 "$log" >&2; }
if [ -n "${ASAN_BUILD_DIR:-}" ]; then
    LSAN_OPTIONS=suppressions=$here/scripts/lsan.supp ASAN_OPTIONS=detect_leaks=1 \
        "$ASAN_BUILD_DIR/bench/page_memory" --rounds 3 >"$log" 2>&1 || true
    leaks=$(grep -c -E '^(Direct|Indirect) leak' "$log" || true)
    echo "BENCH page_memory_lsan_leaks $leaks count (3 rounds in the sanitizer build)"
    if ! grep -q '^BENCH page_memory_rss_after_round_3' "$log"; then
        echo "# the sanitizer run did not finish:" >&2
        tail -20 "$log" >&2
        status=1
    fi
    [ "$leaks" -eq 0 ] || { sed -n '/LeakSanitizer/,$p' "$log" >&2; status=1; }
fi
exit "$status"
