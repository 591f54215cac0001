#!/usr/bin/env bash
# Runs the crash harness at length: every quintara-cli job and the bulk import killed
# with SIGKILL at KILLS random moments each (default 200), then the disk-full runs.
#   tools/crash-harness.sh [KILLS [SEED]]
# The seed is printed; passing it again repeats the same moments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -x "$root/build/tests/test_crash" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" -j 2 --target test_crash
fi
export QUINTARA_CRASH_KILLS="${1:-200}"
if [ -n "${2:-}" ]; then export QUINTARA_CRASH_SEED="$2"; fi
exec "$root/build/tests/test_crash"
