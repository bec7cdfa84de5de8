#!/usr/bin/env bash
# A person's check of the lighting preview: for each EFFECT, the real program is started
# against vantor-sim on a virtual screen with colour mode left on and the effect chosen on
# profile 0, and three frames of the screen, about half a second apart, are saved as
# OUT_FOLDER/preview-EFFECT-N.png.
#   tests/mainwindow/screenshot-preview.sh [BUILD_FOLDER] [OUT_FOLDER] [EFFECT...]
#   (default: build, preview-frames, effects 1 14 18)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-preview-frames}")
shift $(($# < 2 ? $# : 2))
effects=("${@:-1 14 18}")
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"
mkdir -p "$out"

"$bin/vantorctl" switch 0 >/dev/null
user="$XDG_DATA_HOME/Halvex Q780DX Keyboard"
mkdir -p "$user"
printf '[KEYCOLOR]\r\nDengCheck=1\r\n' >"$user/wskb.ini"
for effect in ${effects[*]}; do
    "$bin/vantorctl" set-lighting 0 effect="$effect" >/dev/null
    VANTOR_MARK_FIRST_PAINT=1 "$bin/vantor" 2>"$work/vantor.err" &
    pid=$!
    for _ in $(seq 200); do grep -q "main window painted" "$work/vantor.err" && break; sleep 0.1; done
    sleep 1
    for frame in 1 2 3; do
        save_screen "$out/preview-$effect-$frame.png"
        sleep 0.5
    done
    "$bin/vantor" /Kill
    wait "$pid" || true
done
echo "saved in $out"
