#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the store and the CLI's
# jobs run once more against a throwaway PostgreSQL cluster (tools/test-server.sh),
# which is stopped and removed at the end, also when tests fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
server_dir=$(mktemp -d /tmp/quintara-pg.XXXXXX)
trap 'bash "$root/tools/test-server.sh" stop "$server_dir"' EXIT
QUINTARA_TEST_DATABASE=$(bash "$root/tools/test-server.sh" start "$server_dir")
export QUINTARA_TEST_DATABASE
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
