#!/usr/bin/env bash
# Installs what is missing, builds Korvin and starts its window. Without an
# argument the bundled manual is opened.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVIN_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
if [ $# -eq 0 ]; then
  set -- resources/documents/Manuals/EN/DAISY
fi
exec build/release/korvin "$@"
