#!/bin/sh
# The program's start-up time to ready-in-tray and its resident memory, against vantor-sim;
# then the main window's key-button refresh and how often it paints during an Apply to a
# keyboard that takes 300 ms per reply.
#   bench/app/startup.sh [BUILD_FOLDER]     (default: build)
set -eu
build=$(cd "${1:-build}" && pwd)
if [ ! -x "$build/bin/bench_app" ] || [ ! -x "$build/bin/vantor" ] || [ ! -x "$build/bin/bench_mainwindow" ]; then
    echo "build first: cmake --build $build --target bench_app bench_mainwindow" >&2
    exit 1
fi
export VANTOR_BINARY_DIR="$build" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$build/bin/bench_app" --benchmark_counters_tabular=true
"$build/bin/bench_mainwindow" --benchmark_counters_tabular=true
