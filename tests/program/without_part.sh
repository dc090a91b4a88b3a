#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program copied alone into a folder: the book dump, the help and the
# version work without the desktop part; a window asked for says in the
# listener's language that the part is missing, or broken, and fails.
set -u
program=$1
book=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/korvin"
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

LANG=C.UTF-8 "$folder/korvin" --dump-book "$book" | grep -q '^\[headings\]$' || fail "no dump without the part"
LANG=C.UTF-8 "$folder/korvin" --version | grep -q '^Korvin ' || fail "no version without the part"
LANG=C.UTF-8 "$folder/korvin" --help | grep -q -- '--dump-book' || fail "no help without the part"

# Absent, then a file of that name that is no library. A display is named
# (one that needs no server), as the program asks for one before its part.
export QT_QPA_PLATFORM=offscreen
for state in missing broken; do
  [ "$state" = broken ] && echo "not a library" > "$folder/korvin-desktop.so"
  for case in "C.UTF-8:desktop part is missing" "de_DE.UTF-8:Desktop-Teil von Korvin fehlt"; do
    said=$(LANG=${case%%:*} LC_ALL= "$folder/korvin" 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 1 ] || fail "$state, ${case%%:*}: exit status $status"
    printf '%s' "$said" | grep -q "${case#*:}" || fail "$state, ${case%%:*}: said '$said'"
    if [ "$state" = broken ]; then
      printf '%s' "$said" | grep -q "$folder/korvin-desktop.so" || fail "broken: the file is not named: '$said'"
    fi
  done
done
exit $failed
