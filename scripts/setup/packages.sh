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
  postgresql libpq-dev nginx
)

# Services that installing a package would start: the tests run their own PostgreSQL cluster and
# nginx, with their own configuration on ports of their own, and the system's copies would only
# hold ports 5432 and 80, or, where a port is taken or no init system runs, fail to start and so
# fail the install.
QUIET_SERVICES=(postgresql nginx)
POLICY_RC=/usr/sbin/policy-rc.d

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
  install_quietly "${missing[@]}"
  for p in "${missing[@]}"; do
    is_installed "$p" || die "package $p still not installed after apt-get install"
  done
  keep_services_off_at_boot "${missing[@]}"
}

# install_quietly PACKAGE...: apt-get install with the services of QUIET_SERVICES kept from
# starting. policy-rc.d is what invoke-rc.d and deb-systemd-invoke ask before they start a
# service; a machine that has one keeps it (a container's refuses every start already), unless it
# is the one an interrupted install left.
install_quietly() {
  local own_policy=0 status=0 service names=() mark='Written by Velmora scripts/setup/packages.sh'
  if [[ ! -e $POLICY_RC ]] || grep -q "$mark" "$POLICY_RC"; then
    # Asked with options first, and with the init script's name or the unit's.
    for service in "${QUIET_SERVICES[@]}"; do
      names+=("$service" "$service.service" "$service@*")
    done
    cat >"$POLICY_RC" <<EOF
#!/bin/sh
# $mark while it installs packages.
for name; do
  case "\$name" in $(IFS='|' && echo "${names[*]}")) exit 101 ;; esac
done
exit 0
EOF
    chmod 755 "$POLICY_RC"
    own_policy=1
  fi
  (DEBIAN_FRONTEND=noninteractive run "$LOGS/apt.log" \
    apt-get install -y --no-install-recommends "$@") || status=$?
  ((own_policy)) && rm -f "$POLICY_RC"
  ((status == 0)) || exit "$status"
}

# keep_services_off_at_boot PACKAGE...: where systemd runs, the services of QUIET_SERVICES among
# the packages just installed are not started at the next boot either.
keep_services_off_at_boot() {
  [[ -d /run/systemd/system ]] || return 0
  local p
  for p in "$@"; do
    if [[ " ${QUIET_SERVICES[*]} " == *" $p "* ]]; then
      run "$LOGS/apt.log" systemctl disable "$p.service"
    fi
  done
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  begin_setup
  install_packages
fi
