#!/bin/sh
# A statistics page with its live traffic chart over ten minutes of readings
# (time-scaled): resident memory growth (under 2 MB) and processor share at
# the real pace (under 2 % of a core), next to the same reads without the
# page. Page and simulator share one core: BENCH_CPU (default 0).
set -eu
BUILD_DIR=${BUILD_DIR:-build}
CPU=${BENCH_CPU:-0}
command -v taskset >/dev/null || { echo "# page_chart: taskset missing" >&2; exit 1; }
echo "# page_chart: page and simulator pinned to CPU $CPU"
taskset -c "$CPU" "$BUILD_DIR/bench/page_chart" 2>&1 | grep -E '^(BENCH|#)'
