#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Safe to run again; quiet unless something fails.
set -euo pipefail

packages=(
  build-essential cmake pkgconf git
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev libxcb-xfixes0-dev
  xvfb xauth
  desktop-file-utils appstream
  # The desktop checks (ctest -L desktop): real X input, window and picture queries, a session
  # bus, an X system tray and a StatusNotifier watcher with its host, and a small font with
  # Chinese characters for the Chinese screens.
  xdotool x11-utils x11-apps dbus-daemon dbus-bin libglib2.0-bin python3
  trayer haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
  fonts-wqy-microhei
)
# The install tests validate the desktop entries and the metainfo with the two tools above;
# lintian, which the package test also runs when it is there, is large and left to the person
# who builds the package (apt-get install lintian).

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  log=$(mktemp)
  if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "install-deps: apt-get failed for: ${missing[*]}" >&2
    exit 1
  fi
  rm -f "$log"
fi
