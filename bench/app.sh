#!/bin/sh
# The application shell against the simulated access point, offscreen: the
# start-up of qrt5150 to its first answered status poll next to a bare Qt
# window (both on CPU 0, the simulator on CPU 1), and the module's resident
# memory after opening and closing the information pages a hundred times.
set -eu
BUILD_DIR=${BUILD_DIR:-build}
QT_QPA_PLATFORM=offscreen exec "$BUILD_DIR/bench/app/app_bench"
