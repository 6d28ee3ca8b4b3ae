#!/usr/bin/env bash
# Set up a Debian 12 machine for building and testing Velmora, in three parts (each can also run
# alone):
#
#   setup/packages.sh        Debian packages (compilers, Wine, test and benchmark libraries, ...).
#   setup/i686-libraries.sh  libpng, libjpeg-turbo, giflib and Google Benchmark built as static
#                            i686 Windows libraries from Debian's source packages, into $CACHE/i686.
#   setup/wine-prefix.sh     A private Wine prefix in $CACHE/wineprefix (or $VELMORA_WINEPREFIX)
#                            with the CJK font mapping and Wine's Marlett symbol font.
#
# Cache root: $VELMORA_CACHE, by default the folder in scripts/default-cache-folder. Every step
# checks before doing anything, so a second run with everything in place takes seconds.
# Must run as root. Detailed output of each step goes to $CACHE/logs/.
set -euo pipefail

SETUP_PARTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/setup"
# shellcheck source=scripts/setup/packages.sh
source "$SETUP_PARTS/packages.sh"
# shellcheck source=scripts/setup/i686-libraries.sh
source "$SETUP_PARTS/i686-libraries.sh"
# shellcheck source=scripts/setup/wine-prefix.sh
source "$SETUP_PARTS/wine-prefix.sh"

begin_setup
install_packages
setup_i686_libraries
setup_wine_prefix
say "done: libraries in $PREFIX, wine prefix $WINEPFX"
