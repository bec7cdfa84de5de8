#!/usr/bin/env bash
# A person's check of the lighting panel with real clicks from an X server: on a virtual
# screen, the program runs against vantor-sim with profile 0 on the custom effect. The
# brightness slider is clicked at its second position, the lamp turns colour mode on, and
# Enter and A are painted. The keyboard's lighting block is then read with vantorctl, and the
# key-colour writes are picked out of the emulator's log; brightness 1, the effect kept and two
# painted keys must be there. Clicks go to the rectangles of the skin file. Screens are saved
# into OUT_FOLDER. Needs xdotool.
#   tests/mainwindow/lighting-xtest.sh [BUILD_FOLDER] [OUT_FOLDER]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-.}")
mkdir -p "$out"
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"
"$bin/vantorctl" set-lighting 0 effect=20 >/dev/null
start_program
find_window
grab() { save_screen "$out/$1.png"; }
# Clicks the skin rectangle of KEY at the fractions FX, FY of its width and height. The clicks
# reach the program in order.
click() {
    local rect
    rect=$(iconv -f utf-16 -t utf-8 "$bin/Skins/Main.ini" | tr -d '\r' | sed -n "s/^$1=//p")
    IFS=, read -r x y w h <<<"$rect"
    xdotool mousemove $((X + x + w * $2 / 100)) $((Y + y + h * $3 / 100)) click 1
}
click CONTROL_LightSlider 25 50      # the second of six positions: brightness 1
click CONTROL_DengStaPic 50 50       # the lamp: colour mode on
grab lighting-colour-mode
click KEY_01C 50 50                  # Enter
click KEY_01E 50 50                  # A
grab lighting-painted
lighting() { "$bin/vantorctl" lighting 0 | grep -i -E "effect|brightness"; }
colour_writes() {
    "$bin/vantor-sim" --socket "$VANTOR_SIM" ctl log |
        awk '$1 == ">" && substr($2, 7, 2) == "11" {print substr($2, 1, 40)}'
}
brightness_one() { lighting | grep -q -i -E "brightness:? *1\b"; }
wait_until 20 brightness_one || { lighting >&2; fail "brightness is not 1 on the keyboard"; }
lighting
lighting | grep -q -i -E "effect:? *20\b" || fail "the effect changed"
# Enter and A painted: two key-colour writes of the painting colour (white), at two places.
painted() { [ "$(colour_writes | grep -c '^....0311....0000ffffff')" -ge 2 ]; }
wait_until 20 painted || { colour_writes >&2; fail "the two painted keys did not reach the keyboard"; }
echo "key-colour writes (command 0x11) the keyboard received:"
colour_writes | tail -3
[ "$(colour_writes | grep '^....0311....0000ffffff' | cut -c9-12 | sort -u | wc -l)" -ge 2 ] ||
    fail "both keys were painted at one place"
