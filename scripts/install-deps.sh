#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Korvin needs to build, run and test, when any is missing.
# Usage: scripts/install-deps.sh [run|test|dev]
set -euo pipefail
kind=${1:-test}

packages=(cmake ninja-build g++ pkg-config ccache qt6-base-dev libmpv-dev libxml2-dev libzip-dev libfontconfig-dev
          libgl-dev fonts-dejavu-core)
case "$kind" in
  run) ;;
  # dpkg-dev builds the package and gives its hardening flags, lintian,
  # appstream and desktop-file-utils check it; dbus-daemon gives the D-Bus
  # tests a private bus; the rest is the listener's session: a private X
  # display, window manager, buses, Orca and its speech server.
  test) packages+=(googletest libgtest-dev lame dpkg-dev lintian appstream desktop-file-utils dbus-daemon
                   xvfb xauth x11-utils openbox dbus-x11 at-spi2-core python3-pyatspi xdotool orca
                   speech-dispatcher) ;;
  dev) packages+=(googletest libgtest-dev lame libbenchmark-dev clang libclang-rt-14-dev
                  xvfb xauth dbus-x11 at-spi2-core python3-pyatspi imagemagick) ;;
  *) echo "usage: $0 [run|test|dev]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
