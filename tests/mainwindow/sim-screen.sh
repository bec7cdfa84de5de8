# Sourced by the person's-check scripts: a scratch home, a virtual X screen and vantor-sim on a
# socket of that home, all removed on exit, and the steps the scripts share. Needs $bin and
# $build; sets $work, $pids, DISPLAY, VANTOR_SIM.
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export VANTOR_SIM="$work/sim.sock"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
"$bin/vantor-sim" --socket "$VANTOR_SIM" &
pids+=($!)
for _ in $(seq 100); do [ -S "$VANTOR_SIM" ] && break; sleep 0.05; done

# Starts the program (with the keyboard present its window opens by itself) and gives the
# window time to show; the program ends with the script.
start_program() {
    "$bin/vantor" "$@" &
    pids+=($!)
    sleep 4
}

# Sets X and Y to the top-left corner of the program's window on the screen. Needs xdotool.
find_window() {
    local win
    win=$(xdotool search --onlyvisible --name . | head -1)
    eval "$(xdotool getwindowgeometry --shell "$win")"
}

# Saves what the screen shows into the file given.
save_screen() { VANTOR_BINARY_DIR="$build" "$build/tests/mainwindow/vantor-screenshots" --grab "$1"; }
