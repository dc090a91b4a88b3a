#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# desktop.sh CMD...: runs CMD on a private desktop as a screen reader user has
# one: an Xvfb display, a session bus, the accessibility bus and the openbox
# window manager (without one no window gets the keyboard focus). Every
# process started here is ended by its id, or with its session bus, whatever
# CMD does.
set -u
display=${LISTENER_DISPLAY:-$((200 + RANDOM % 300))}
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "desktop.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The session bus starts the accessibility bus (and its registry) itself, once,
# when it is first asked for its address; a second one started beside it left
# Orca and the program on different registries now and then.
dbus-run-session -- bash -c '
  openbox >/dev/null 2>&1 & wm=$!
  for _ in $(seq 100); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.05
  done
  # The window manager is ready once it has announced itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
  done
  "$@"; rc=$?
  kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null
  exit $rc
' desktop "$@"
