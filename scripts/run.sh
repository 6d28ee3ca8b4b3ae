#!/usr/bin/env bash
# Runs the client against the demo service: sets up the machine, builds the demo service and
# velmora.exe, and starts the service on 127.0.0.1:8765. Then
#  - with a display ($DISPLAY set): runs velmora.exe under Wine on it, against the database in
#    the build folder (build/velmora-demo.db, kept from run to run); the service stops when the
#    client ends, or on Ctrl-C;
#  - without one: runs the screenshot tour (tools/tour/screenshot-tour) on a private Xvfb
#    display, against a fresh database (the tour spends the demo account's balance on a
#    number), which writes a picture of each of the seven windows to build/tour/ and prints
#    their paths.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

readonly service_address=127.0.0.1:8765
if [[ -n ${DISPLAY:-} ]]; then
  readonly database=build/velmora-demo.db
else
  readonly database=build/tour/velmora-tour.db
  mkdir -p build/tour
  rm -f "$database" "$database-wal" "$database-shm"
fi

say() { printf 'run: %s\n' "$*" >&2; }
die() {
  printf 'run: ERROR: %s\n' "$*" >&2
  exit 1
}

bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target velmora-service
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target velmora window_probe

client_option() { sed -n "s/^$1:[A-Z]*=//p" build/win32/CMakeCache.txt; }
client_address="$(client_option VELMORA_SERVICE_SCHEME)://$(client_option VELMORA_SERVICE_HOST)"
if [[ $client_address != "http://$service_address" ]]; then
  say "note: this velmora.exe talks to $client_address (VELMORA_SERVICE_SCHEME and" \
    "VELMORA_SERVICE_HOST), not to the demo service"
fi

service_pid=""
client_pid=""
stop_all() {
  if [[ -n $client_pid ]]; then kill "$client_pid" 2>/dev/null || true; fi
  if [[ -n $service_pid ]]; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
    say "demo service stopped"
  fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM HUP

service_answers() {
  curl -fsS --max-time 2 "http://$service_address/E/qx/getkf.php" >/dev/null 2>&1
}

# The client is built for this one address, so a service that already listens there would
# answer it instead of ours.
if curl -sS --max-time 2 "http://$service_address/" >/dev/null 2>&1; then
  die "something already listens on $service_address: stop it first"
fi
build/native/service/velmora-service --port 8765 --database "$database" \
  --log build/velmora-service.log >build/velmora-service.out 2>&1 &
service_pid=$!
for _ in $(seq 50); do
  service_answers && break
  kill -0 "$service_pid" 2>/dev/null || {
    service_pid=""
    die "the demo service did not start: $(cat build/velmora-service.out)"
  }
  sleep 0.1
done
service_answers || die "the demo service does not answer on $service_address"
say "demo service on $service_address (database $database, requests in build/velmora-service.log)"

if [[ -z ${DISPLAY:-} ]]; then
  say "no DISPLAY: the screenshot tour on a private Xvfb display"
  tools/tour/screenshot-tour build/tour
  exit
fi

say "velmora.exe on $DISPLAY; closing it stops the service (so does Ctrl-C)"
wine build/win32/app/velmora.exe &
client_pid=$!
status=0
wait "$client_pid" || status=$?
client_pid=""
((status == 0)) || say "velmora.exe ended with exit code $status"
