#!/usr/bin/env bash
# Runs the crash harness at length: every quintara-cli job and the bulk import killed
# with SIGKILL at KILLS random moments each (default 200), then the disk-full runs.
#   tools/crash-harness.sh [KILLS [SEED]]
# The seed is printed; passing it again repeats the same moments. The programs run
# from a copy, so that building meanwhile cannot change them under the harness.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j 2 --target test_crash
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$root/build/quintara-cli" "$root/build/tests/crash_import" "$root/build/tests/test_crash" "$copy/"
export QUINTARA_CRASH_CLI="$copy/quintara-cli" QUINTARA_CRASH_IMPORTER="$copy/crash_import"
export QUINTARA_CRASH_KILLS="${1:-200}"
if [ -n "${2:-}" ]; then export QUINTARA_CRASH_SEED="$2"; fi
"$copy/test_crash"
