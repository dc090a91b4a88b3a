#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The speech server's output: instead of sound, each utterance Orca speaks is
# appended to the file $1 as one line (the lines of a longer text joined).
file=$1; shift
printf '%s\n' "$*" | tr '\n' ' ' | sed 's/ *$//' >> "$file"
echo >> "$file"
