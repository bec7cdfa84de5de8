#!/usr/bin/env bash
# The program held open for a long time against vantor-sim: on a virtual X screen, with colour
# mode on, the keyboard is unplugged and plugged again CYCLES times. After each plug the window
# is opened again (a second start, as a person would from the menu) and the keyboard sends
# events 0x0401 and 0x0402; every tenth cycle a profile button is pressed and a key painted,
# with real clicks on the skin's rectangles. Each step waits until the window has taken in the
# keyboard's departure or arrival (the lines VANTOR_MARK_DEVICE asks for) or is on screen.
# Resident memory, threads and open descriptors of the program are reported at the start, after
# cycle 50 and every EVERY cycles, each taken once the window shows the keyboard again.
#   bench/app/soak.sh [--check] [BUILD_FOLDER] [CYCLES] [EVERY]   (default: build 1000 100)
# --check (the ctest version) fails unless the program is alive at the end, shows the keyboard,
# and has its first numbers of threads and descriptors back; 77 when Xvfb or xdotool is missing.
set -euo pipefail
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
build=$(cd "${1:-build}" && pwd)
cycles=${2:-1000}
every=${3:-100}
bin="$build/bin"
for program in vantor vantor-sim vantorctl; do
    if [ ! -x "$bin/$program" ]; then
        echo "build first: cmake --build $build --target vantor vantor-sim vantorctl vantor-skin vantor_program_data" >&2
        exit 1
    fi
done
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 77; }
done
source "$(dirname "$0")/../../tests/mainwindow/sim-screen.sh"

user="$XDG_DATA_HOME/Halvex Q780DX Keyboard"
mkdir -p "$user"
printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$user/wskb.ini"
VANTOR_MARK_DEVICE=1 "$bin/vantor" 2>"$work/vantor.err" &
pid=$!
pids+=($pid)

ctl() { "$bin/vantor-sim" --socket "$VANTOR_SIM" ctl "$@" >/dev/null; }
# Waits until the program has written the line COUNT times; fails when it has ended or after
# a minute.
wait_marks() {
    local line=$1 count=$2
    for _ in $(seq 1200); do
        [ "$(grep -c "vantor: $line" "$work/vantor.err" || true)" -ge "$count" ] && return 0
        kill -0 "$pid" 2>/dev/null || { echo "the program ended" >&2; tail "$work/vantor.err" >&2; exit 1; }
        sleep 0.05
    done
    echo "the window did not report '$line' $count times" >&2
    exit 1
}
# Qt's global thread pool retires a thread 30 s after its last task; such threads, and the
# descriptors they hold, come and go with the work and are no leak. Figures that are compared
# are taken once none is left (waiting up to a minute).
pooled() { cat /proc/"$pid"/task/*/comm 2>/dev/null | grep -c '^Thread (pooled)$' || true; }
settle() {
    for _ in $(seq 600); do [ "$(pooled)" -eq 0 ] && return 0; sleep 0.1; done
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$pid"/status; }
threads() { awk '/^Threads:/ { print $2 }' /proc/"$pid"/status; }
fds() { ls /proc/"$pid"/fd | wc -l; }
report() {
    printf '%-12s rss %6d kB  threads %3d (pooled %d)  fds %3d\n' "$1" "$(rss_kb)" "$(threads)" \
        "$(pooled)" "$(fds)"
}
# The skin rectangle of KEY, clicked at its centre.
click() {
    local rect x y w h
    rect=$(iconv -f utf-16 -t utf-8 "$bin/Skins/Main.ini" | tr -d '\r' | sed -n "s/^$1=//p")
    IFS=, read -r x y w h <<<"$rect"
    xdotool mousemove $((X + x + w / 2)) $((Y + y + h / 2)) click 1
}

wait_marks "keyboard shown" 1
find_window
settle
first_threads=$(threads)
first_fds=$(fds)
report start
for cycle in $(seq "$cycles"); do
    ctl unplug
    wait_marks "keyboard gone" "$cycle"
    ctl plug
    wait_marks "keyboard shown" $((cycle + 1))
    # The keyboard's return leaves the window hidden: a person opens it again, here as a
    # second start of the program does, and the clicks below land on it.
    "$bin/vantor" 2>>"$work/second-start.err" || fail "a second start ended with $?"
    find_window
    if [ "$cycle" -eq 50 ] || [ $((cycle % every)) -eq 0 ]; then report "cycle $cycle"; fi
    ctl event 0x0401
    ctl event 0x0402
    if [ $((cycle % 10)) -eq 0 ]; then
        click "FUNC_PROFILE$((cycle / 10 % 3 + 1))"
        click KEY_01E
    fi
done
[ $((cycles % every)) -eq 0 ] || report "cycle $cycles"

if [ "$check" -eq 1 ]; then
    # Threads and descriptors that the last cycle's events and clicks still hold go when their
    # work ends: wait for that, up to a minute.
    settle
    for _ in $(seq 600); do
        [ "$(threads)" -eq "$first_threads" ] && [ "$(fds)" -eq "$first_fds" ] && break
        sleep 0.1
    done
    report end
    if [ "$(threads)" -ne "$first_threads" ] || [ "$(fds)" -ne "$first_fds" ]; then
        echo "threads or descriptors did not come back to $first_threads and $first_fds" >&2
        exit 1
    fi
fi
