#!/usr/bin/env bash
# Installs what is missing, builds Korvin and runs every test headless, three
# times: the system's code alone (without Qt, libmpv and libxml2), a normal
# build with warnings as errors, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer. The builds are the presets of CMakePresets.json,
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

# The system's code first: it fails soonest, and the normal build takes its
# objects from ccache.
echo "== the system's code alone, without Qt, libmpv and libxml2 =="
build_and_test system-only
echo "== normal build =="
build_and_test test
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
build_and_test asan
