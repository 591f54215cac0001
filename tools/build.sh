#!/usr/bin/env bash
# Configures and builds Quintara into build/ (Ninja, all targets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTARA_WINDOW=ON >/dev/null
cmake --build "$root/build" -j "$(nproc)"
