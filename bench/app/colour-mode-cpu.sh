#!/usr/bin/env bash
# The program's processor use while colour mode plays the lighting preview: the program,
# started against vantor-sim on a virtual X screen with colour mode left on and EFFECT chosen
# on profile 0, opens its window; after it has settled, the run time of all its threads over
# SECONDS is taken from the scheduler (/proc/PID/task/*/schedstat), with its wake-ups.
#   bench/app/colour-mode-cpu.sh [BUILD_FOLDER] [SECONDS] [EFFECT]    (default: build 10 14)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-10}
effect=${3:-14}
bin="$build/bin"
for program in vantor vantor-sim vantorctl; do
    if [ ! -x "$bin/$program" ]; then
        echo "build first: cmake --build $build --target vantor vantor-sim vantorctl vantor-skin vantor_program_data" >&2
        exit 1
    fi
done
source "$(dirname "$0")/../../tests/mainwindow/sim-screen.sh"

"$bin/vantorctl" switch 0 >/dev/null
"$bin/vantorctl" set-lighting 0 effect="$effect" >/dev/null
user="$XDG_DATA_HOME/Halvex Q780DX Keyboard"
mkdir -p "$user"
printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$user/wskb.ini"

VANTOR_MARK_FIRST_PAINT=1 "$bin/vantor" 2>"$work/vantor.err" &
pid=$!
pids+=($pid)
for _ in $(seq 200); do grep -q "main window painted" "$work/vantor.err" && break; sleep 0.1; done
if ! grep -q "main window painted" "$work/vantor.err"; then
    echo "the program's window did not show" >&2
    exit 1
fi
# What follows the keyboard's arrival (its state, colour files, the tray icon) settles first.
sleep 2

# Run time in nanoseconds and context switches, summed over the threads alive now.
run_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
switches() {
    cat /proc/"$pid"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches:/ { s += $2 } END { printf "%d", s }'
}
ns0=$(run_ns); sw0=$(switches); t0=$(date +%s%N)
sleep "$seconds"
ns1=$(run_ns); sw1=$(switches); t1=$(date +%s%N)
awk -v ns=$((ns1 - ns0)) -v sw=$((sw1 - sw0)) -v t=$((t1 - t0)) -v e="$effect" 'BEGIN {
    printf "colour mode, effect %s, %.1f s: cpu %.2f %% of one core, %.1f wake-ups/s\n",
           e, t / 1e9, 100 * ns / t, sw / (t / 1e9)
}'
