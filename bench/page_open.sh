#!/bin/sh
# Opening time of the wireless settings page against the simulated access
# point, next to the page's SNMP exchanges times the simulator's round trip
# measured in the same run. Page and simulator share one core:
#   BENCH_CPU (default 0); BENCH_REPEATS (default 20) timed openings, median.
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CPU=${BENCH_CPU:-0}
REPEATS=${BENCH_REPEATS:-20}
command -v taskset >/dev/null || { echo "# wireless bench: taskset missing" >&2; exit 1; }
echo "# wireless_open: page and simulator pinned to CPU $CPU"
taskset -c "$CPU" "$BUILD_DIR/bench/wireless_open" --repeats "$REPEATS"
