#!/usr/bin/env bash
# Starts or stops the demo service for the end-to-end tests: a fresh database in the test folder,
# the service on the loopback port the end-to-end program is built for, with any further options.
#   demo_service.sh start SERVICE PORT FOLDER [OPTION...] | demo_service.sh stop SERVICE PORT FOLDER
set -euo pipefail
action=$1 service=$2 port=$3 folder=$4
shift 4
pid_file=$folder/e2e-service.pid

case $action in
  start)
    if [[ ! -x $service ]]; then
      echo "no demo service at $service: build the native preset first" >&2
      exit 1
    fi
    rm -f "$folder/e2e-service.db"
    setsid "$service" --port "$port" --database "$folder/e2e-service.db" \
      --log "$folder/e2e-service.log" "$@" >"$folder/e2e-service.out" 2>&1 </dev/null &
    echo $! >"$pid_file"
    for _ in $(seq 100); do
      if grep -q listening "$folder/e2e-service.out" 2>/dev/null; then exit 0; fi
      if ! kill -0 "$(cat "$pid_file")" 2>/dev/null; then break; fi
      sleep 0.05
    done
    echo "the demo service did not start on port $port:" >&2
    cat "$folder/e2e-service.out" >&2
    exit 1
    ;;
  stop)
    if [[ -f $pid_file ]]; then
      kill "$(cat "$pid_file")" 2>/dev/null || true
      rm -f "$pid_file"
    fi
    ;;
esac
