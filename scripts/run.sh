#!/usr/bin/env bash
# Runs the program from a build folder (default: build). With a keyboard plugged in and
# reachable it talks to the keyboard; otherwise it starts the keyboard emulator, shows its
# status with vantorctl, and runs the program against it until the program exits.
set -euo pipefail

bin="${1:-build}/bin"
for program in vantor vantorctl vantor-sim; do
  [ -x "$bin/$program" ] || { echo "run: $bin/$program is missing; build first" >&2; exit 1; }
done

# Without a desktop session the program still runs, on a virtual screen.
launch=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no desktop session found; running on a virtual screen (xvfb-run), Ctrl+C ends it"
  launch=(xvfb-run -a -s "-screen 0 1600x1000x24")
fi

if "$bin/vantorctl" list >/dev/null 2>&1; then
  exec "${launch[@]}" "$bin/vantor"
fi

socket="${XDG_RUNTIME_DIR:-/tmp}/vantor-run-$$.sock"
"$bin/vantor-sim" --socket "$socket" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  sleep 0.05
done

echo "No keyboard found: using the emulator on $socket"
VANTOR_SIM="$socket" "$bin/vantorctl" status
VANTOR_SIM="$socket" "${launch[@]}" "$bin/vantor"
