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

# vantorctl list: 0 a keyboard is reachable, 3 none is plugged in, 4 one is plugged in but its
# device node is not ours to open (the udev rule is missing); anything else is passed on too.
list_status=0
list_errors=$("$bin/vantorctl" list 2>&1 >/dev/null) || list_status=$?
case "$list_status" in
  0) exec "${launch[@]}" "$bin/vantor" ;;
  3) reason="No keyboard found" ;;
  4) echo "$list_errors" >&2
     reason="The keyboard cannot be opened (see above)" ;;
  *) echo "$list_errors" >&2
     reason="The keyboard could not be reached (see above)" ;;
esac

socket="${XDG_RUNTIME_DIR:-/tmp}/vantor-run-$$.sock"
"$bin/vantor-sim" --socket "$socket" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  sleep 0.05
done

echo "$reason: using the emulator on $socket"
VANTOR_SIM="$socket" "$bin/vantorctl" status
VANTOR_SIM="$socket" "${launch[@]}" "$bin/vantor"
