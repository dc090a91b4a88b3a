#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Korvin and starts its window. Without an
# argument the bundled manual is opened.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ $# -eq 0 ]; then
  set -- resources/documents/Manuals/EN/DAISY
fi
exec build/release/korvin "$@"
