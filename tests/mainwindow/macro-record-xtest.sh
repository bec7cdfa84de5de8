#!/usr/bin/env bash
# A person's check of the macro page with key events from a real X server: on a virtual screen,
# the program runs against vantor-sim in the language of LANG_CHOICE (en or zh), key A is
# clicked, the macro page opened, a macro added and recorded from keys typed by xdotool through
# XTEST (H, I, a held Left Super, Print Screen). The screen is saved while recording; then the
# second row's delay is edited to 12345 (stored 12340) and the list moved, and the screen saved
# again. OK and the main window's Apply follow, and vantorctl macros prints what the keyboard
# holds, which must be the actions typed with the edit. Screens are saved into OUT_FOLDER as
# macro-recording-LANG.png and macro-edited-LANG.png.
# Needs xdotool.
#   tests/mainwindow/macro-record-xtest.sh [BUILD_FOLDER] [OUT_FOLDER] [en|zh]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-.}")
lang=${3:-en}
mkdir -p "$out"
bin="$build/bin"
source "$(dirname "$0")/sim-screen.sh"
# A fresh settings store takes the language of the system's locale.
if [ "$lang" = zh ]; then export LANG=zh_CN.UTF-8; else export LANG=en_US.UTF-8; fi; unset LC_ALL LC_MESSAGES
start_program
find_window
grab() { save_screen "$out/$1-$lang.png"; }
xdotool mousemove $((X + 196)) $((Y + 310)) click 1     # key A
wait_windows 2
# The dialog's top-left is A's bottom-right corner (177+38, 291+38); places from Composite.ini.
# The clicks and keys reach the program in order, so only new windows are waited for.
click() { xdotool mousemove $((X + 215 + $1)) $((Y + 329 + $2)) click --repeat "${3:-1}" 1; }
click 184 71          # Macro page
click 78 362          # Add
click 376 362         # record delays on
click 301 362         # Record
xdotool key h i
xdotool keydown super; sleep 0.6; xdotool keyup super   # held: its delay is recorded
xdotool key Print
grab macro-recording
click 301 362         # Stop
click 400 166 2       # the second row's delay cell, by a double click
xdotool key ctrl+a; xdotool type 12345; xdotool key Return
click 300 146         # the first row
click 488 219         # Down
grab macro-edited
click 392 437         # OK
wait_windows 1
xdotool mousemove $((X + 758)) $((Y + 723)) click 1    # main window Apply
macros() { "$bin/vantorctl" macros 2>&1; }
has_macro() { macros | grep -q 12340; }
wait_until 20 has_macro || { macros >&2; fail "the recorded macro did not reach the keyboard"; }
macros
# What was typed, in order, the edited delay now on the row moved down to first place; the
# other delays are the typing's own.
expected='H release 12340 ms
H press
I press
I release
Win press
Win release
Print Screen press
Print Screen release'
actions=$(macros | sed -n 's/^  //p' | sed -E '1!s/ [0-9]+ ms$//')
[ "$actions" = "$expected" ] || fail "the keyboard holds other actions than were recorded"
[ "$(macros | grep -c '^slot')" -eq 1 ] || fail "not one macro on the keyboard"
