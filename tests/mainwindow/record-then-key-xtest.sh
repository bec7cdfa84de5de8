#!/usr/bin/env bash
# A person's check that the key page captures again after a recording, with key events from a
# real X server: on a virtual screen, the program runs against vantor-sim, key A is clicked,
# the macro page opened, a macro added and recorded from a key typed by xdotool through XTEST;
# then the Key page button is clicked (which ends the recording) and B is typed. OK and the
# main window's Apply follow; the keyboard's key maps are read back with vantorctl and key A of
# profile 0 must hold key B (type 2, value 0x30): the script exits non-zero otherwise. Screens
# are saved into OUT_FOLDER. Needs xdotool.
#   tests/mainwindow/record-then-key-xtest.sh [BUILD_FOLDER] [OUT_FOLDER]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-.}")
mkdir -p "$out"
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"
export LANG=en_US.UTF-8; unset LC_ALL LC_MESSAGES
start_program
find_window
grab() { save_screen "$out/record-then-key-$1.png"; }
xdotool mousemove $((X + 196)) $((Y + 310)) click 1     # key A
sleep 1
# The dialog's top-left is A's bottom-right corner (177+38, 291+38); places from Composite.ini.
click() { xdotool mousemove $((X + 215 + $1)) $((Y + 329 + $2)) click 1; sleep 0.5; }
click 184 71          # Macro page (CONTROL_MACRO)
click 78 362          # Add
click 301 362         # Record
xdotool key x; sleep 0.5
grab recording
click 70 71           # Key page (CONTROL_KEY): ends the recording, captures again
xdotool key b; sleep 0.5
grab key-b
click 392 437         # OK
xdotool mousemove $((X + 758)) $((Y + 723)) click 1    # main window Apply
sleep 2
grab applied
"$bin/vantorctl" export "$work/after.vpf"
python3 - "$work/after.vpf" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
t, p, v = struct.unpack_from('<HHI', data, 64 + 0x1E * 16)
print("profile 0 A:", t, hex(p), hex(v))
sys.exit(0 if (t, v) == (2, 0x30) else 1)
PY
echo "key A holds B on the keyboard"
