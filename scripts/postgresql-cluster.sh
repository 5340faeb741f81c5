#!/bin/bash
# A private PostgreSQL cluster for the definition server's tests and its
# load benchmark: Debian's postgresql, a data folder made anew in /tmp,
# listening on 127.0.0.1 only, on a free port, with a database "defserver"
# owned by a role "defserver" (trusted, no password: nothing but this
# machine can reach it).
#
#   scripts/postgresql-cluster.sh start STATE   starts one; STATE/uri then holds
#                                               postgresql://defserver@127.0.0.1:PORT/defserver
#   scripts/postgresql-cluster.sh stop STATE    stops it and removes its data
#
# STATE is a folder of the caller's (a build tree's). A cluster already
# recorded there is stopped first. PostgreSQL refuses to run as root, so a
# root caller (CI) runs it as the "postgres" user.
set -euo pipefail

command=${1:-}
state=${2:-}
if [ -z "$command" ] || [ -z "$state" ]; then
  echo "usage: $0 start|stop STATE" >&2
  exit 2
fi

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "$0: PostgreSQL is not installed (Debian package postgresql)" >&2
  exit 1
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop() {
  [ -f "$state/data" ] || return 0
  local data
  data=$(cat "$state/data")
  if [ -d "$data" ]; then
    as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$data"
  fi
  rm -f "$state/data" "$state/uri"
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start() {
  mkdir -p "$state"
  stop
  local data
  data=$(mktemp -d /tmp/bastion-postgresql.XXXXXX)
  echo "$data" >"$state/data"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$data"; fi
  chmod 700 "$data"
  # No fsync while the cluster is made: it lives as long as one test run.
  as_owner "$bindir/initdb" -D "$data/cluster" -U postgres -A trust -E UTF8 --no-sync >"$data/initdb.log" 2>&1 || {
    cat "$data/initdb.log" >&2
    return 1
  }
  # Another program may take the port between choosing and listening:
  # then try another.
  local port attempt
  for attempt in 1 2 3 4 5; do
    port=$(free_port)
    if as_owner "$bindir/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 30 \
         -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$data -c max_connections=200" \
         start >/dev/null; then
      break
    fi
    port=""
  done
  if [ -z "$port" ]; then
    cat "$data/server.log" >&2
    return 1
  fi
  as_owner "$bindir/psql" -h 127.0.0.1 -p "$port" -U postgres -d postgres -q -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE defserver LOGIN CREATEDB" -c "CREATE DATABASE defserver OWNER defserver" >/dev/null
  echo "postgresql://defserver@127.0.0.1:$port/defserver" >"$state/uri"
  echo "PostgreSQL listening on 127.0.0.1:$port (data in $data)"
}

case "$command" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop STATE" >&2; exit 2 ;;
esac
