#!/usr/bin/env bash
# The tray icon in a real tray on a virtual screen, against vantor-sim. HOST is "xembed" (the
# trayer panel, an X system tray) or "sni" (status-notifier-watcher with the
# gtk-sni-tray-standalone host, StatusNotifierItem over the session bus). Run it in a D-Bus
# session of its own: dbus-run-session -- tray-xtest.sh BUILD_FOLDER HOST
#
# The program starts in the tray ("/Start") before any tray exists; the tray starts 3 s later
# and the icon must come. Its picture must follow the keyboard's unplug and plug; after the tray
# is restarted the icon must come back; the menu's Open shows the main window and Exit ends
# the program. Screens are saved into OUT_FOLDER when one is given.
#   tests/shell/tray/tray-xtest.sh BUILD_FOLDER xembed|sni [OUT_FOLDER]
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
host=${2:?xembed or sni}
out=${3:-}
bin="$build/bin"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "run under dbus-run-session" >&2; exit 2; }
if [ "$host" = xembed ]; then needs_tools="trayer xwd"; else needs_tools="status-notifier-watcher gtk-sni-tray-standalone gdbus"; fi
source "$(dirname "$0")/../../mainwindow/sim-screen.sh"
grab() { [ -z "$out" ] || { mkdir -p "$out" && save_screen "$out/tray-$host-$1.png"; }; }

tray_pids=()
start_tray() {
    if [ "$host" = xembed ]; then
        trayer --edge top --align right --widthtype request --height 32 --transparent false \
            >/dev/null 2>&1 &
        tray_pids=($!)
    else
        status-notifier-watcher >/dev/null 2>&1 &
        tray_pids=($!)
        gtk-sni-tray-standalone >/dev/null 2>&1 &
        tray_pids+=($!)
    fi
    pids+=("${tray_pids[@]}")
}
stop_tray() {
    kill "${tray_pids[@]}"
    wait "${tray_pids[@]}" 2>/dev/null || true
}

# --- Where the icon is, and what it shows -------------------------------------------------
# XEmbed: the program's window inside the trayer panel. SNI: the item the watcher lists whose
# bus name belongs to the program.
icon_window() {
    local panel win
    panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -1) || return 1
    [ -n "$panel" ] || return 1
    for win in $(xwininfo -children -id "$panel" 2>/dev/null | awk '/^ +0x/ {print $1}'); do
        xwininfo -children -id "$win" 2>/dev/null | grep -q '("vantor"' || continue
        xwininfo -children -id "$win" | awk '/^ +0x/ && /"vantor"/ {print $1; exit}'
        return 0
    done
    return 1
}
bus_call() {
    gdbus call --session --dest "$1" --object-path "$2" --method "$3" -- "${@:4}" 2>/dev/null
}
sni_item() {
    local items name pid
    items=$(bus_call org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        RegisteredStatusNotifierItems) || return 1
    for name in $(grep -o "'[^']*'" <<<"$items" | tr -d "'"); do
        name=${name%%/*}
        pid=$(bus_call org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
            "$name" | grep -o '[0-9]\+' | tail -1) || continue
        [ "$pid" = "$program" ] && { echo "$name"; return 0; }
    done
    return 1
}
icon_there() { if [ "$host" = xembed ]; then icon_window >/dev/null; else sni_item >/dev/null; fi; }
# A fingerprint of the picture the tray shows for the program.
icon_picture() {
    if [ "$host" = xembed ]; then
        # Only the pixels: the dump's header names the window, which a new tray makes anew.
        local win size
        win=$(icon_window)
        size=$(xwininfo -id "$win" | awk '/Width:|Height:/ {n = n ? n * $2 : $2} END {print n * 4}')
        xwd -silent -id "$win" | tail -c "$size" | md5sum
    else
        bus_call "$(sni_item)" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
            org.kde.StatusNotifierItem IconPixmap | md5sum
    fi
}
picture_is() { [ "$(icon_picture 2>/dev/null)" = "$1" ]; }
picture_is_not() { [ "$(icon_picture 2>/dev/null)" != "$1" ]; }

# --- The menu -------------------------------------------------------------------------------
# Chooses the item of the tray menu: "open" or "exit". XEmbed: a right click on the icon opens
# Qt's menu, whose items the keyboard walks (Down from none is the first, Up the last). SNI:
# the host's click on the item, sent to the item's exported menu.
choose() {
    if [ "$host" = xembed ]; then
        # Right after the window has opened, a menu's pointer grab can fail on a screen
        # without a window manager, and Qt drops the menu: the click is tried again.
        local attempt
        for attempt in 1 2 3 4 5; do
            xdotool mousemove --window "$(icon_window)" 8 8 click 3
            wait_until 2 menu_shown && break
        done
        menu_shown || fail "no tray menu on screen after $attempt right clicks"
        if [ "$1" = open ]; then xdotool key Down Return; else xdotool key Up Return; fi
    else
        local item menu layout id label
        item=$(sni_item)
        menu=$(bus_call "$item" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
            org.kde.StatusNotifierItem Menu | grep -o "/[A-Za-z0-9_/]*" | head -1)
        bus_call "$item" "$menu" com.canonical.dbusmenu.AboutToShow 0 >/dev/null || true
        layout=$(bus_call "$item" "$menu" com.canonical.dbusmenu.GetLayout 0 -1 '@as []')
        # Items in order: Open, About, Exit.
        label=$([ "$1" = open ] && echo 0 || echo 2)
        id=$(grep -o "<([0-9]*, {[^}]*'label'" <<<"$layout" | grep -o '^<([0-9]*' | tr -d '<(' |
            sed -n "$((label + 1))p")
        [ -n "$id" ] || fail "no menu item $1 in $layout"
        bus_call "$item" "$menu" com.canonical.dbusmenu.Event "$id" clicked '<int32 0>' 0 >/dev/null
    fi
}
# Qt's menu: a small window of the program's, shown on the screen itself (the icon is inside
# the panel).
menu_shown() {
    local win info
    for win in $(xdotool search --onlyvisible --classname '^vantor$' 2>/dev/null); do
        info=$(xwininfo -children -id "$win" 2>/dev/null) || continue
        grep -q "Parent window id: .*(the root window)" <<<"$info" || continue
        [ "$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p')" -lt 300 ] && return 0
    done
    return 1
}

# --- The check ------------------------------------------------------------------------------
LANG=en_US.UTF-8 start_program /Start
wait_for 20 "word from the program that it waits for a tray" \
    grep -q "no system tray yet" "$work/vantor.err"
sleep 3    # the tray starts 3 s after the program, as at a login
start_tray
started=$SECONDS
wait_for 10 "icon in the tray" icon_there
echo "icon in the tray $((SECONDS - started)) s after the tray started"
connected=$(icon_picture)
grab connected

"$bin/vantor-sim" --socket "$VANTOR_SIM" ctl unplug >/dev/null
wait_for 10 "change of the icon's picture on unplug" picture_is_not "$connected"
grab unplugged
"$bin/vantor-sim" --socket "$VANTOR_SIM" ctl plug >/dev/null
wait_for 10 "connected picture after plug" picture_is "$connected"

stop_tray
wait_for 10 "tray gone" eval '! icon_there'
start_tray
wait_for 10 "icon back after the tray restarted" icon_there
wait_for 10 "connected picture after the tray restarted" picture_is "$connected"

window_shown && fail "the window opened before Open"
choose open
wait_for 10 "main window after Open" window_shown
grab opened
choose exit
wait_for 10 "end of the program after Exit" eval '! kill -0 "$program" 2>/dev/null'
wait "$program" || fail "the program ended with $?"
echo "tray check in $host passed"
