#!/usr/bin/env bash
# The tests' cluster script (postgres_cluster.sh), on the port after the fixture's: a port that
# something already serves is refused, a cluster that an interrupted run left behind is replaced,
# and stop ends the server and removes its folder.
#   postgres_cluster_test.sh SCRIPT FOLDER FIXTURE_PORT
set -uo pipefail
script=$1 folder=$2/postgres-cluster-test port=$(($3 + 1))

# shellcheck source=tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# postmaster FOLDER: the process id of the server of the cluster that FOLDER records.
postmaster() {
  head -n 1 "$(cat "$1/postgres-cluster.path" 2>/dev/null)/data/postmaster.pid" 2>/dev/null
}
# running PID: whether the process runs; an ended one stays a zombie where nothing reaps it.
running() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) && [[ -n $1 && $state != Z* ]] &&
    echo yes || echo no
}
uri_answers() { [[ $(bash "$script" start "$1" "$port" 2>/dev/null) == "$2" ]] && echo yes || echo no; }

first=$folder/first second=$folder/second
trap 'bash "$script" stop "$first"; bash "$script" stop "$second"; rm -rf "$folder"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

uri="postgresql://velmora@127.0.0.1:$port/velmora"
check "a fresh start prints its URI" "$(uri_answers "$first" "$uri")" yes
old=$(postmaster "$first")
check "its server runs" "$(running "$old")" yes

# The first cluster stands for a system cluster on that port.
check "a second cluster on a taken port" "$(uri_answers "$second" "$uri")" no
check "the refused start records nothing" "$(ls "$second")" ""
check "the first cluster still runs" "$(running "$old")" yes

# A run killed before its cleanup leaves a cluster that the next start replaces.
check "a start over a leftover cluster" "$(uri_answers "$first" "$uri")" yes
new=$(postmaster "$first")
check "the leftover server has ended" "$(running "$old")" no
check "the new server runs" "$(running "$new")" yes

cluster=$(cat "$first/postgres-cluster.path")
bash "$script" stop "$first"
check "stop ends the server" "$(running "$new")" no
check "stop removes the cluster's folder" "$([[ -e $cluster ]] && echo kept || echo removed)" removed
check "a second stop" "$(bash "$script" stop "$first" && echo stopped)" stopped

checks_summary
