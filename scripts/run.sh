#!/usr/bin/env bash
# Sets up the machine, builds velmora.exe and runs it under Wine: on $DISPLAY when there is one,
# otherwise on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target velmora

if [[ -z ${DISPLAY:-} ]]; then
  start_wine_display
  trap stop_wine_display EXIT
  echo "run: no DISPLAY; running on the private display $DISPLAY"
fi
wine build/win32/app/velmora.exe
