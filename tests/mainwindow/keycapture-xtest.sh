#!/usr/bin/env bash
# A person's check of key capture with key events from a real X server: on a virtual screen,
# the program runs against vantor-sim, key A is clicked, and xdotool types through XTEST:
# Left Super (taken as "Left Win"), a held B (taken once) and a media key (passes). OK and the
# main window's Apply follow; the keyboard's key maps are then read back with vantorctl and
# key A of each profile is printed. Screens are saved into OUT_FOLDER. Needs xdotool.
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
echo "main window at $X,$Y"
xdotool mousemove $((X + 196)) $((Y + 310)) click 1     # key A
sleep 1
grab opened
xdotool key super            # Left Super by XTEST: captured as 0x15B, kept from the desktop
sleep 0.5
grab super
xdotool keydown b; sleep 0.8; xdotool keyup b   # held B: auto-repeats by the X server
sleep 0.5
grab b
xdotool key XF86AudioRaiseVolume; sleep 0.3
grab media
# OK: the dialog's top-left is A's bottom-right corner (177+38, 291+38); OK at (344,420,96,34).
xdotool mousemove $((X + 215 + 392)) $((Y + 329 + 437)) click 1
sleep 1
xdotool mousemove $((X + 758)) $((Y + 723)) click 1    # main window Apply
sleep 2
grab applied
"$bin/vantorctl" export "$work/after.vpf"
python3 - "$work/after.vpf" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
for block in range(3):
    t, p, v = struct.unpack_from('<HHI', data, 64 + (block * 512 + 0x1E) * 16)
    print("profile", block, "A:", t, hex(p), hex(v))
PY
