# shellcheck shell=bash
# Sourced by the scripts: the set-up cache folder (VELMORA_CACHE, by default the folder named in
# scripts/default-cache-folder, which the toolchain file reads too) and the private Wine prefix
# kept in it. VELMORA_WINEPREFIX gives a second checkout its own prefix, so that two test runs do
# not stop each other's wineserver.
VELMORA_CACHE="${VELMORA_CACHE:-$(<"$(dirname "${BASH_SOURCE[0]}")/default-cache-folder")}"
export VELMORA_CACHE
export WINEPREFIX="${VELMORA_WINEPREFIX:-$VELMORA_CACHE/wineprefix}"
