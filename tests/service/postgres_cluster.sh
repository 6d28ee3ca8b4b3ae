#!/usr/bin/env bash
# Starts or stops a private PostgreSQL cluster for the tests. start makes a fresh cluster in a
# temporary folder, run by an unprivileged user (nobody, when the tests run as root), listening on
# 127.0.0.1 at PORT and nowhere else, with its socket in that folder and loopback connections
# trusted; it makes the user velmora and its empty database velmora, and prints their URI. FOLDER
# keeps the temporary folder's name for stop, which ends the cluster at once and removes it.
#   postgres_cluster.sh start FOLDER PORT | postgres_cluster.sh stop FOLDER
# VELMORA_POSTGRES_BIN names the folder of initdb and pg_ctl (default: Debian's newest).
set -euo pipefail
action=$1 folder=$2
record=$folder/postgres-cluster.path
admin=postgres

bin=${VELMORA_POSTGRES_BIN:-$(find /usr/lib/postgresql -mindepth 2 -maxdepth 2 -name bin \
  2>/dev/null | sort -V | tail -n 1)}
# The caller's libpq settings (PGDATABASE, PGOPTIONS, ...) are not the cluster's.
unset "${!PG@}"

# PostgreSQL refuses to run as root: then the cluster is nobody's.
owner=()
if [[ $(id -u) -eq 0 ]]; then
  owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

# as_owner CLUSTER COMMAND...: run a command as the cluster's owner, in the cluster's folder.
as_owner() {
  local cluster=$1
  shift
  (cd "$cluster" && HOME=$cluster "${owner[@]}" "$@")
}

stop_cluster() {
  [[ -f $record ]] || return 0
  local cluster
  cluster=$(cat "$record")
  # Only a folder this script made is removed.
  if [[ $cluster == */velmora-postgres.* && -d $cluster ]]; then
    if [[ -f $cluster/data/postmaster.pid ]]; then
      as_owner "$cluster" "$bin/pg_ctl" stop -D "$cluster/data" -m immediate -w >/dev/null 2>&1 ||
        kill -KILL "$(head -n 1 "$cluster/data/postmaster.pid")" 2>/dev/null || true
    fi
    rm -rf "$cluster"
  fi
  rm -f "$record"
}

case $action in
  start)
    port=$3
    if [[ ! -x $bin/initdb || ! -x $bin/pg_ctl ]]; then
      echo "no PostgreSQL server programs in '$bin': install Debian's postgresql" >&2
      exit 1
    fi
    mkdir -p "$folder"
    # What an interrupted run left.
    stop_cluster
    # Whatever answers on the port (a system cluster among others) is never taken for this one.
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "port $port on 127.0.0.1 is taken: the tests' cluster needs a free one" >&2
      exit 1
    fi
    cluster=$(mktemp -d "${TMPDIR:-/tmp}/velmora-postgres.XXXXXX")
    echo "$cluster" >"$record"
    # A start that fails part way leaves nothing running.
    trap 'status=$?; ((status == 0)) || stop_cluster' EXIT
    ((${#owner[@]} == 0)) || chown nobody:nogroup "$cluster"
    if ! as_owner "$cluster" "$bin/initdb" -D "$cluster/data" -U "$admin" -A trust -E UTF8 \
      --locale=C --no-sync >"$cluster/initdb.log" 2>&1; then
      cat "$cluster/initdb.log" >&2
      exit 1
    fi
    cat >>"$cluster/data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$cluster'
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
    printf '%s\n' 'local all all trust' 'host all all 127.0.0.1/32 trust' \
      >"$cluster/data/pg_hba.conf"
    if ! as_owner "$cluster" "$bin/pg_ctl" start -D "$cluster/data" -l "$cluster/server.log" \
      -w -t 60 >/dev/null; then
      echo "the tests' PostgreSQL cluster did not start on port $port:" >&2
      tail -n 20 "$cluster/server.log" >&2 || true
      exit 1
    fi
    connection=(-h 127.0.0.1 -p "$port" -U "$admin")
    as_owner "$cluster" "$bin/createuser" "${connection[@]}" velmora
    as_owner "$cluster" "$bin/createdb" "${connection[@]}" -O velmora velmora
    echo "postgresql://velmora@127.0.0.1:$port/velmora"
    ;;
  stop)
    stop_cluster
    ;;
  *)
    echo "usage: $0 start FOLDER PORT | $0 stop FOLDER" >&2
    exit 2
    ;;
esac
