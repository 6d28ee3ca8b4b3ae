# shellcheck shell=bash
# Sourced by the scripts that run Windows programs: the private Wine prefix, and a private X
# display for it (Wine creates no windows without one).
# shellcheck source=scripts/cache-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/cache-env.sh"
export WINEDEBUG="${WINEDEBUG:--all}"

xvfb_pid=""

# Starts Xvfb on a free display and a persistent wineserver with its services, so that no test
# process waits for the server or hands its pipes to Wine's background services.
start_wine_display() {
  local display=90
  while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    sleep 0.1
  done
  export DISPLAY=":$display"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

stop_wine_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  xvfb_pid=""
}
