#!/bin/sh
# The program's start with the keyboard (vantor-sim) present until its main window is on a
# virtual X screen and painted, five starts and their median; then its processor use over 30 s
# with the window open and colour mode off. Given a second build folder, the same benchmark
# runs that build's program first, so two versions are compared in one run.
# The programs run inside a D-Bus session of their own, as on a desktop: without one, Qt's
# accessibility bridge has the D-Bus library try to launch a session bus at every start (a
# fork of the whole program), which no desktop session pays. NO_SESSION_BUS=1 runs without.
# Starts follow each other at once unless VANTOR_BENCH_PAUSE_MS gives a pause between them: a
# start right after an exit shares the machine with what that exit leaves to settle.
# VANTOR_BENCH_FILTER picks other benchmarks of bench_app to run the same way (beside-floor.sh).
#   bench/app/first-window.sh [BUILD_FOLDER] [OTHER_BUILD_FOLDER]     (default: build)
set -eu
build=$(cd "${1:-build}" && pwd)
if [ ! -x "$build/bin/bench_app" ] || [ ! -x "$build/bin/vantor" ]; then
    echo "build first: cmake --build $build --target bench_app" >&2
    exit 1
fi
folders=$build
if [ $# -ge 2 ]; then
    other=$(cd "$2" && pwd)
    if [ ! -x "$other/bin/vantor" ] || [ ! -x "$other/bin/vantor-sim" ]; then
        echo "build first: cmake --build $other --target vantor vantor-sim vantor-skin vantor_program_data" >&2
        exit 1
    fi
    folders="$other $build"
fi
session=""
if [ -z "${NO_SESSION_BUS:-}" ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] &&
    command -v dbus-run-session >/dev/null; then
    session="dbus-run-session --"
fi
for folder in $folders; do
    echo "== the program of $folder${session:+ (in a D-Bus session)}"
    VANTOR_BINARY_DIR="$folder" QT_QPA_PLATFORM=xcb $session xvfb-run -a -s "-screen 0 1600x1000x24" \
        "$build/bin/bench_app" --benchmark_filter="${VANTOR_BENCH_FILTER:-StartToPaintedWindow|IdleWithWindowOpen}" --benchmark_counters_tabular=true
done
