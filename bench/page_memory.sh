#!/bin/sh
# Resident memory of the module across opening and closing every page of the
# menu against the simulated access point, BENCH_ROUNDS times (default 50):
# after the first round, after the last, and the growth between (at most 1 MB).
set -eu
BUILD_DIR=${BUILD_DIR:-build}
ROUNDS=${BENCH_ROUNDS:-50}
"$BUILD_DIR/bench/page_memory" --rounds "$ROUNDS" 2>&1 | grep -v propagateSizeHints
