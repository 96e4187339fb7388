#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: its own folder under /tmp, a Unix
# socket only (no TCP port), C collation, started as an unprivileged user when run as
# root (the server refuses root).
#   pg-test-server.sh start STATEFILE [durable]
#                                       writes the connection string to STATEFILE;
#                                       "durable" keeps fsync and synchronous commit on
#                                       (for benchmarks), the tests go without
#   pg-test-server.sh stop STATEFILE    stops the server and removes its folder
set -euo pipefail
cmd=${1:?start or stop}
state=${2:?state file}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/pg_ctl" ]; then
  echo "PostgreSQL server not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$state.dir" ] || return 0
  local dir
  dir=$(cat "$state.dir")
  if [ -d "$dir/data" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  rm -f "$state" "$state.dir"
}

case "$cmd" in
  start)
    stop
    dir=$(mktemp -d /tmp/kestavion-pg.XXXXXX)
    echo "$dir" > "$state.dir"
    chmod 755 "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
    as_owner "$bindir/initdb" -D "$dir/data" -U kestavion --auth=trust -E UTF8 --locale=C >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; stop; exit 1; }
    # Speed over durability: the server lives for one test run.
    speed="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    [ "${3:-}" = durable ] && speed=""
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' $speed -c max_connections=60" \
      start >/dev/null || { cat "$dir/server.log" >&2; stop; exit 1; }
    echo "host=$dir user=kestavion dbname=postgres" > "$state"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start|stop STATEFILE" >&2
    exit 2
    ;;
esac
