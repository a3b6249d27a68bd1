#!/bin/sh
# Opening time of every page of the menu against the simulated access point,
# next to the page's SNMP exchanges times the simulator's round trip measured
# in the same run, plus 200 ms. Pages and simulator share one core:
#   BENCH_CPU (default 0); BENCH_REPEATS (default 5) timed openings per page, median.
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CPU=${BENCH_CPU:-0}
REPEATS=${BENCH_REPEATS:-5}
command -v taskset >/dev/null || { echo "# page bench: taskset missing" >&2; exit 1; }
echo "# page_open: pages and simulator pinned to CPU $CPU"
taskset -c "$CPU" "$BUILD_DIR/bench/page_open" --repeats "$REPEATS" 2>&1 | grep -v propagateSizeHints
