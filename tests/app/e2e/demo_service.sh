#!/usr/bin/env bash
# Starts or stops the demo service for the end-to-end tests: a fresh database in the test folder,
# the service on the loopback port the end-to-end program is built for, with any further options.
# SERVICE is the demo service, or a script that runs a service there with the same options.
#   demo_service.sh start SERVICE PORT FOLDER [OPTION...] | demo_service.sh stop SERVICE PORT FOLDER
set -euo pipefail
action=$1 service=$2 port=$3 folder=$4
shift 4
pid_file=$folder/e2e-service.pid

# Whether the process runs: an ended one may stay a zombie, when nothing reaps it.
running() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) && [[ $state != Z* ]]
}

case $action in
  start)
    if [[ ! -x $service ]]; then
      echo "no demo service at $service: build the native preset first" >&2
      exit 1
    fi
    # The output of the run before goes first: the background start below empties the file only
    # once its process runs, and its "listening" must not be taken for this run's.
    rm -f "$folder"/e2e-service.db{,-wal,-shm} "$folder/e2e-service.out"
    setsid "$service" --port "$port" --database "$folder/e2e-service.db" \
      --log "$folder/e2e-service.log" "$@" >"$folder/e2e-service.out" 2>&1 </dev/null &
    echo $! >"$pid_file"
    for _ in $(seq 100); do
      if grep -q listening "$folder/e2e-service.out" 2>/dev/null; then exit 0; fi
      if ! running "$(cat "$pid_file")"; then break; fi
      sleep 0.05
    done
    echo "the demo service did not start on port $port:" >&2
    cat "$folder/e2e-service.out" >&2
    exit 1
    ;;
  stop)
    # The service leads a process group of its own (setsid): the whole group is stopped, so that
    # what a service script started goes with it, and the next run finds the ports free.
    if [[ -f $pid_file ]]; then
      pid=$(cat "$pid_file")
      kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true
      for _ in $(seq 100); do
        running "$pid" || break
        sleep 0.05
      done
      rm -f "$pid_file"
    fi
    ;;
esac
