#!/usr/bin/env bash
# Set-up part: the Debian packages the project builds, tests and runs with (compilers, Wine, test
# and benchmark libraries, ...). Run by scripts/setup.sh, or alone (as root).

# shellcheck source=scripts/setup/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES=(
  wine wine32:i386 wine64 libgnutls30:i386
  g++-mingw-w64-i686 libz-mingw-w64-dev
  xvfb xauth fonts-wqy-microhei
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  dpkg-dev pkgconf libsqlite3-dev libmicrohttpd-dev libgnutls28-dev nlohmann-json3-dev
  python3-requests libsodium-dev openssl libcurl4-gnutls-dev
  libpng-dev libjpeg62-turbo-dev libgif-dev zlib1g-dev
  imagemagick x11-apps xdotool curl
)

is_installed() {
  local status
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) || return 1
  [[ $status == "ii"* ]]
}

install_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    is_installed "$p" || missing+=("$p")
  done
  if ((${#missing[@]} == 0)); then
    say "packages: all ${#PACKAGES[@]} installed"
    return
  fi
  say "packages: missing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding i386 architecture"
    dpkg --add-architecture i386
  fi
  apt_update
  say "installing ${#missing[@]} package(s)"
  DEBIAN_FRONTEND=noninteractive run "$LOGS/apt.log" \
    apt-get install -y --no-install-recommends "${missing[@]}"
  for p in "${missing[@]}"; do
    is_installed "$p" || die "package $p still not installed after apt-get install"
  done
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  begin_setup
  install_packages
fi
