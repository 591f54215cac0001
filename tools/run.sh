#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample data directory (build/sample)
# and runs Quintara on it: the main window where a display exists, otherwise the
# headless start job, which prints what it found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
sample="$root/build/sample"
"$root/build/tools/quintara-sample" "$sample"
settings="$sample/Quintara.conf"
if [ -x "$root/build/src/ui/quintara" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$root/build/src/ui/quintara" --home "$sample" --settings "$settings" "$@"
fi
exec "$root/build/quintara-cli" --home "$sample" --settings "$settings" start "$@"
