# Sourced by the person's-check scripts: a scratch home, a virtual X screen and vantor-sim on a
# socket of that home, all removed on exit, and the steps the scripts share. Needs $bin and
# $build (and $needs_tools, more programs the check needs); sets $work, $pids, DISPLAY,
# VANTOR_SIM.
# Without the tools (scripts/install-deps.sh installs them) the check is skipped: exit code 77.
for tool in Xvfb xdotool xwininfo python3 iconv ${needs_tools:-}; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
done
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export VANTOR_SIM="$work/sim.sock"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

# Fails the check with a message, and what the program said.
fail() {
    echo "FAILED: $*" >&2
    [ -s "$work/vantor.err" ] && sed 's/^/  vantor: /' "$work/vantor.err" >&2
    exit 1
}

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds (true) or SECONDS
# pass (false).
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails the check
# naming WHAT when SECONDS pass first.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    wait_until "$seconds" "$@" || fail "no $what within ${seconds} s"
}

# A screen of its own: Xvfb takes a free display number and writes it into the file.
Xvfb -displayfd 5 5>"$work/display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
pids+=($!)
wait_for 20 "virtual screen" test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
"$bin/vantor-sim" --socket "$VANTOR_SIM" &
pids+=($!)
wait_for 20 "emulator socket" test -S "$VANTOR_SIM"

# The id of the program's window that is shown and wider than WIDTH (default 300: the main
# window and the dialogs, not the tray icon); fails when there is none.
shown_window() {
    local win geometry
    for win in $(xdotool search --onlyvisible --classname '^vantor$' 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry --shell "$win" 2>/dev/null) || continue
        [ "$(sed -n 's/^WIDTH=//p' <<<"$geometry")" -gt "${1:-300}" ] && { echo "$win"; return 0; }
    done
    return 1
}
window_shown() { shown_window >/dev/null; }
# How many of the program's windows wider than 300 are shown.
shown_count() {
    local count=0 win
    for win in $(xdotool search --onlyvisible --classname '^vantor$' 2>/dev/null); do
        [ "$(xdotool getwindowgeometry --shell "$win" 2>/dev/null | sed -n 's/^WIDTH=//p')" -gt 300 ] &&
            count=$((count + 1))
    done
    echo "$count"
}
# wait_windows N: waits until N of the program's windows are shown.
windows_are() { [ "$(shown_count)" -eq "$1" ]; }
wait_windows() { wait_for 20 "$1 window(s) of the program on screen" windows_are "$1"; }

# Starts the program; with the keyboard present (and no "/Start") its window opens by itself,
# which is waited for, and so is what it read of the keyboard: the window shows as soon as it
# sees the keyboard and takes input once it shows the keyboard. The program ends with the
# script; its standard error is $work/vantor.err.
keyboard_shown() { grep -q "vantor: keyboard shown" "$work/vantor.err"; }
start_program() {
    VANTOR_MARK_DEVICE=1 "$bin/vantor" "$@" 2>"$work/vantor.err" &
    program=$!
    pids+=($program)
    [ "${1:-}" = /Start ] && return
    wait_windows 1
    wait_for 20 "keyboard shown by the program" keyboard_shown
}

# Sets X and Y to the top-left corner of the program's window on the screen.
find_window() {
    local win
    # The window maps a moment after the program says it has shown the keyboard.
    wait_until 20 window_shown || fail "the program's window is not on screen"
    win=$(shown_window)
    eval "$(xdotool getwindowgeometry --shell "$win")"
}

# Saves what the screen shows into the file given.
save_screen() { VANTOR_BINARY_DIR="$build" "$build/tests/mainwindow/vantor-screenshots" --grab "$1"; }
