#!/bin/sh
# Opening time of every page of the menu (access-point and router pages)
# against the simulated access point, next to four of the simulator's round
# trips measured in the same run plus 50 ms, with the page's exchanges and the
# round trips on its critical path. Pages and simulator share one core:
#   BENCH_CPU (default 0); BENCH_REPEATS (default 5) timed openings per page, median;
#   BENCH_DELAY_MS (default 0) added by the simulator to every answer (a slow link).
# Further arguments go to bench/page_open (--page CLASS).
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CPU=${BENCH_CPU:-0}
REPEATS=${BENCH_REPEATS:-5}
DELAY=${BENCH_DELAY_MS:-0}
command -v taskset >/dev/null || { echo "# page bench: taskset missing" >&2; exit 1; }
echo "# page_open: pages and simulator pinned to CPU $CPU, answers $DELAY ms late"
taskset -c "$CPU" "$BUILD_DIR/bench/page_open" --repeats "$REPEATS" --delay-ms "$DELAY" "$@" 2>&1 | grep -v propagateSizeHints
