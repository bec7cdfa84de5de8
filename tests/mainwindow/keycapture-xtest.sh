#!/usr/bin/env bash
# A person's check of key capture with key events from a real X server: on a virtual screen,
# the program runs against vantor-sim, key A is clicked, and xdotool types through XTEST:
# Left Super (taken as "Left Win"), a held B (taken once) and a media key (passes). OK and the
# main window's Apply follow; the keyboard's key maps are then read back with vantorctl, and key
# A of profile 0 must be B. Screens are saved into OUT_FOLDER. Needs xdotool.
#   tests/mainwindow/keycapture-xtest.sh [BUILD_FOLDER] [OUT_FOLDER]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-.}")
mkdir -p "$out"
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"
start_program
find_window
grab() { save_screen "$out/$1.png"; }
# Key A of profile 0 as the keyboard's key maps hold it: "type parameter value" of its record
# in a profile file exported by vantorctl.
key_a() {
    "$bin/vantorctl" export "$work/after.vpf" >/dev/null || return 1
    python3 - "$work/after.vpf" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
t, p, v = struct.unpack_from('<HHI', data, 64 + 0x1E * 16)
print(t, hex(p), hex(v))
PY
}
before=$(key_a)
xdotool mousemove $((X + 196)) $((Y + 310)) click 1     # key A
wait_windows 2
grab opened
xdotool key super            # Left Super by XTEST: captured as 0x15B, kept from the desktop
xdotool keydown b; sleep 0.8; xdotool keyup b   # held B: auto-repeats by the X server, taken once
xdotool key XF86AudioRaiseVolume                # a media key passes
grab captured
# OK: the dialog's top-left is A's bottom-right corner (177+38, 291+38); OK at (344,420,96,34).
xdotool mousemove $((X + 215 + 392)) $((Y + 329 + 437)) click 1
wait_windows 1
xdotool mousemove $((X + 758)) $((Y + 723)) click 1    # main window Apply
# B is key code 0x30: a key assignment (type 2) of B.
key_a_is_b() { [ "$(key_a)" = "2 0x0 0x30" ]; }
wait_until 20 key_a_is_b || fail "key A of profile 0 is $(key_a) (was $before), not B"
grab applied
echo "key A of profile 0: $(key_a)"
