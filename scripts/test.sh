#!/usr/bin/env bash
# Installs what is missing, builds Korvin and runs every test headless, three
# times: the system's code alone (without Qt, libmpv and libxml2), a normal
# build with warnings as errors, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer.
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
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DKORVIN_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== the system's code alone, without Qt, libmpv and libxml2 =="
build_and_test build/system-only -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVIN_DESKTOP=OFF
echo "== normal build =="
build_and_test build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
build_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DKORVIN_SANITIZE=ON
