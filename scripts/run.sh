#!/usr/bin/env bash
# Sets up the machine, builds the demo service and velmora.exe, starts the service on its
# loopback address with its database in the build folder, and runs the client under Wine: on
# $DISPLAY when there is one, otherwise on a private Xvfb display. The service stops with the
# client.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target velmora-service
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target velmora

service_pid=""
stop_all() {
  if [[ -n $service_pid ]]; then kill "$service_pid" 2>/dev/null || true; fi
  stop_wine_display
}
trap stop_all EXIT

build/native/service/velmora-service --port 8765 --database build/velmora-demo.db \
  --log build/velmora-service.log &
service_pid=$!
echo "run: demo service on 127.0.0.1:8765 (log: build/velmora-service.log)"

if [[ -z ${DISPLAY:-} ]]; then
  start_wine_display
  echo "run: no DISPLAY; running on the private display $DISPLAY"
fi
wine build/win32/app/velmora.exe
