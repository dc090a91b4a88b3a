#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Korvin and runs every test headless, three
# times: the system's code alone (without Qt, libmpv and libxml2), a normal
# build with warnings as errors (then its Debian package, unpacked and started,
# and a listener's session heard through the real Orca screen reader), then a
# build under AddressSanitizer and UndefinedBehaviorSanitizer. The builds are the presets of CMakePresets.json,
# each in build/<preset>.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export KORVIN_MPV_OPTIONS=ao=null
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_stack_use_after_return=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

build_and_test() {
  local preset=$1 start=$SECONDS
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  local built=$SECONDS
  ctest --preset "$preset" -j "$jobs"
  echo "== $preset: built in $((built - start)) s, tested in $((SECONDS - built)) s"
}

# Starts the program's window offscreen with a fresh home and ends it as the
# desktop would: the window's part has loaded once the program catches
# SIGTERM, and ending it then saves the settings.
start_window() {
  local program=$1 home=$2 pid caught=0
  QT_QPA_PLATFORM=offscreen KORVIN_MPV_OPTIONS=ao=null "$program" --home "$home" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 300); do
    if grep -q '^SigCgt:' "/proc/$pid/status" 2>/dev/null \
        && (( (0x$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status") >> 14) & 1 )); then
      caught=1
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" && (( caught )) && [ -e "$home/Settings.dl" ]
}

# The Debian package of the normal build: built, checked as a distribution
# checks a package (lintian, AppStream, the desktop entry: no error, no
# warning), unpacked into a temporary root and started there twice, on the
# manual it carries and as a window.
lintian_pid=
check_package() {
  local start=$SECONDS root deb
  root=$(mktemp -d)
  (cd build/test && rm -f korvin_*.deb && cpack -G DEB >/dev/null 2>&1)
  deb=$(ls build/test/korvin_*.deb)
  dpkg-deb -x "$deb" "$root"
  for f in usr/bin/korvin usr/share/applications/korvin.desktop usr/share/metainfo/de.varnholt.korvin.metainfo.xml \
           usr/share/icons/hicolor/scalable/apps/korvin.svg usr/share/man/man1/korvin.1.gz \
           usr/share/man/de/man1/korvin.1.gz usr/share/doc/korvin/copyright usr/share/doc/korvin/changelog.gz \
           usr/share/korvin/documents/Manuals/DE/DAISY/ncc.html usr/share/korvin/documents/Manuals/EN/DAISY/ncc.html; do
    [ -e "$root/$f" ] || { echo "the package lacks /$f" >&2; rm -rf "$root"; return 1; }
  done
  for lib in libmpv libzip; do
    dpkg-deb -f "$deb" Depends | grep -q "$lib" || { echo "the package declares no $lib" >&2; rm -rf "$root"; return 1; }
  done
  # lintian takes a while and little of the machine: it runs beside the
  # listener's session, and check_lintian takes its answer.
  lintian --fail-on error,warning "$deb" > build/test/lintian.txt 2>&1 & lintian_pid=$!
  local said
  appstreamcli validate --no-net "$root/usr/share/metainfo/de.varnholt.korvin.metainfo.xml" >/dev/null \
    || { appstreamcli validate --no-net "$root/usr/share/metainfo/de.varnholt.korvin.metainfo.xml" >&2
         rm -rf "$root"; return 1; }
  # Its hints (a category that could be paired with another) are no faults.
  said=$(desktop-file-validate "$root/usr/share/applications/korvin.desktop" 2>&1) && ! grep -v ': hint: ' <<< "$said" | grep -q . \
    || { echo "desktop-file-validate: $said" >&2; rm -rf "$root"; return 1; }
  local dump version
  dump=$("$root/usr/bin/korvin" --dump-book "$root/usr/share/korvin/documents/Manuals/EN/DAISY") \
    && grep -q '^title=Korvin Manual$' <<< "$dump" \
    || { echo "the unpacked program did not read its manual" >&2; rm -rf "$root"; return 1; }
  version=$(LANG=de_DE.UTF-8 "$root/usr/bin/korvin" --version) && grep -q '^Korvin 2.0.1 – Abspiel' <<< "$version" \
    || { echo "the unpacked program did not tell its version in German" >&2; rm -rf "$root"; return 1; }
  find "$root/usr/lib" -name korvin-desktop.so | grep -q . \
    || { echo "the package lacks the desktop part" >&2; rm -rf "$root"; return 1; }
  start_window "$root/usr/bin/korvin" "$root/home" \
    || { echo "the unpacked program did not start its window" >&2; rm -rf "$root"; return 1; }
  rm -rf "$root"
  echo "== package: built, checked (appstreamcli, desktop-file-validate), unpacked and started in $((SECONDS - start)) s"
}

# Tags of the kinds E (error) and W (warning) fail; I (information) does not.
check_lintian() {
  wait "$lintian_pid" || { echo "lintian:" >&2; cat build/test/lintian.txt >&2; return 1; }
  echo "== lintian: no error, no warning (build/test/lintian.txt)"
}

# The system's code first: it fails soonest, and the normal build takes its
# objects from ccache.
echo "== the system's code alone, without Qt, libmpv and libxml2 =="
build_and_test system-only
echo "== normal build =="
build_and_test test
echo "== the Debian package =="
check_package
echo "== a listener's session, heard through Orca =="
start=$SECONDS
tests/listener/desktop.sh tests/listener/session.py build/test/korvin build/test/listener-transcript.txt >/dev/null
echo "== listener: passed in $((SECONDS - start)) s (what Orca said: build/test/listener-transcript.txt)"
check_lintian
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
build_and_test asan
