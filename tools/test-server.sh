#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: tools/test-server.sh start DIR prints
# the connection URI; tools/test-server.sh stop DIR stops it and removes DIR.
# The cluster lives in DIR only, listens on 127.0.0.1 and a socket in DIR, on a
# free port; no system cluster is touched. As root it runs as the system user
# "postgres" the Debian package creates (initdb refuses root). QUINTARA_TEST_SERVER_DURABLE=1
# keeps the server's durability settings (for benchmarks); the tests run without.
set -euo pipefail
cmd=${1:?start|stop}
dir=${2:?directory}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ]; then echo "PostgreSQL fehlt: tools/setup.sh installiert es" >&2; exit 1; fi
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
start)
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  chmod 700 "$dir"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_owner "$bin/initdb" -D "$dir/data" -U quintara -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
  # Throwaway data: durability off for speed, enough connections for parallel tests.
  durability="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
  if [ "${QUINTARA_TEST_SERVER_DURABLE:-0}" = 1 ]; then durability=""; fi
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir $durability -c max_connections=200" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "postgresql://quintara@127.0.0.1:$port/postgres"
  ;;
stop)
  if [ -d "$dir/data" ]; then as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true; fi
  rm -rf "$dir"
  ;;
esac
