#!/usr/bin/env bash
# A person's check of the real program against vantor-sim on a virtual screen: profile 2 of the
# emulated keyboard gets two keys assigned (A sends Left Win, Caps Lock is disabled) through
# vantorctl import, profile 2 is made active, and the program, started with the keyboard
# present, opens by itself. The screen is saved as OUT.png.
#   tests/mainwindow/screenshot-sim.sh [BUILD_FOLDER] [OUT.png]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-main-sim.png}")
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"

# Records are 16 bytes from offset 64, 512 to a block: type (16 bits), parameter (16 bits),
# value (32 bits), ...; the header's checksum does not cover them.
"$bin/vantorctl" export "$work/assigned.vpf"
python3 - "$work/assigned.vpf" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
def assign(block, row, kind, value):
    struct.pack_into('<HHI', data, 64 + (block * 512 + row) * 16, kind, 0, value)
assign(1, 0x1E, 2, 0x15B)  # A: a key, Left Win
assign(1, 0x3A, 1, 0)      # Caps Lock: disabled
open(path, 'wb').write(data)
PY
"$bin/vantorctl" import "$work/assigned.vpf"
"$bin/vantorctl" switch 1

start_program
save_screen "$out"
echo "saved $out"
