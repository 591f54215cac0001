#!/usr/bin/env bash
# Configures and builds Quintara into build/ (Ninja, all targets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
if command -v ccache >/dev/null; then
  # Worktrees of the same clone share the cache: paths below the parent are made relative.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  # The debug info's build directory must not split the cache between worktrees.
  export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTARA_WINDOW=ON "${launcher[@]}" >/dev/null
cmake --build "$root/build" -j "$(nproc)"
