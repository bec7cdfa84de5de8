#!/bin/sh
# The program's start-up time to ready-in-tray and its resident memory, against vantor-sim.
#   bench/app/startup.sh [BUILD_FOLDER]     (default: build)
set -eu
build=$(cd "${1:-build}" && pwd)
if [ ! -x "$build/bin/bench_app" ] || [ ! -x "$build/bin/vantor" ]; then
    echo "build first: cmake --build $build --target bench_app" >&2
    exit 1
fi
VANTOR_BINARY_DIR="$build" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    "$build/bin/bench_app" --benchmark_counters_tabular=true
