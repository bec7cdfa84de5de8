#!/bin/sh
# The program beside qt-floor, a bare Qt Widgets program with a tray icon and one window of the
# main window's size, on a virtual X screen against vantor-sim: resident memory hidden in the
# tray ("/Start", never shown), shown and hidden again, with where it lies (smaps_rollup); then
# launch to a painted window, five starts of each in turns, medians. The program's figures are
# given as ratios of the floor's. Given a second build folder, that build's program is measured
# first in the same run (before and after), against the same floor. Run as first-window.sh.
#   bench/app/beside-floor.sh [BUILD_FOLDER] [OTHER_BUILD_FOLDER]     (default: build)
VANTOR_BENCH_FILTER=BesideFloor exec "$(dirname "$0")/first-window.sh" "$@"
