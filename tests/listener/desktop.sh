#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# desktop.sh CMD...: runs CMD on a private desktop as a screen reader user has
# one: an Xvfb display, a session bus, the accessibility bus and the openbox
# window manager (without one no window gets the keyboard focus). Every
# process started here is ended by its id, or with its session bus, whatever
# CMD does.
set -u
# A display nobody holds: a lock or socket left by a server that died (a
# machine copied while one ran) would make Xvfb refuse, or look like ours.
display=${LISTENER_DISPLAY:-}
for _ in $(seq 50); do
  [ -n "$display" ] && [ ! -e "/tmp/.X$display-lock" ] && [ ! -e "/tmp/.X11-unix/X$display" ] && break
  display=$((200 + RANDOM % 300))
done
# -noreset: by default the server starts afresh whenever its last client
# leaves (a probe below, or the accessibility bus launcher setting its root
# window property), and a client that connects meanwhile is refused: the
# window manager then never came up, now and then, and no window got focus.
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
# Ours once it answers, and as long as our server still runs.
for _ in $(seq 600); do
  kill -0 "$xvfb" 2>/dev/null || break
  xprop -display ":$display" -root >/dev/null 2>&1 && break
  sleep 0.05
done
kill -0 "$xvfb" 2>/dev/null && xprop -display ":$display" -root >/dev/null 2>&1 \
  || { echo "desktop.sh: Xvfb did not start on :$display" >&2; exit 1; }
export DISPLAY=":$display" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The session bus starts the accessibility bus (and its registry) itself, once,
# when it is first asked for its address; a second one started beside it left
# Orca and the program on different registries now and then.
dbus-run-session -- bash -c '
  openbox >/dev/null 2>&1 & wm=$!
  # Each waits as long as a cold machine may need, and says so when it gives
  # up: without them no window is announced, and the session would only hear
  # silence.
  ready() {
    for _ in $(seq 600); do "$@" && return 0; sleep 0.05; done
    return 1
  }
  ready dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 || { echo "desktop.sh: the accessibility bus did not start" >&2; exit 1; }
  # The window manager is ready once it has announced itself on the root window.
  managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
  ready managed || { echo "desktop.sh: the window manager did not start" >&2; exit 1; }
  "$@"; rc=$?
  kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null
  exit $rc
' desktop "$@"
