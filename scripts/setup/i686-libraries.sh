#!/usr/bin/env bash
# Set-up part: libpng, libjpeg-turbo, giflib and Google Benchmark built as static i686 Windows
# libraries from Debian's source packages, installed into $CACHE/i686. Run by scripts/setup.sh,
# or alone (as root).

# shellcheck source=scripts/setup/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

TOOLCHAIN="$REPO/cmake/toolchain-mingw-i686.cmake"
PREFIX="$CACHE/i686"
MINGW_SYSROOT=/usr/i686-w64-mingw32
CROSS_AR=i686-w64-mingw32-ar

# Source package, upstream version we build, stamp name (build_<stamp name> builds it). The Debian
# revision is whichever of that upstream version downloads first, newest first.
LIBS=(
  "libpng1.6 1.6.39 libpng"
  "libjpeg-turbo 2.1.5 libjpeg-turbo"
  "giflib 5.2.1 giflib"
  "benchmark 1.7.1 benchmark"
)
# The Debian version fetch_source downloaded last.
FETCHED_VERSION=

# ----------------------------------------------------------------- deb-src --
SRC_LIST_DEB822=/etc/apt/sources.list.d/velmora-deb-src.sources
SRC_LIST_CLASSIC=/etc/apt/sources.list.d/velmora-deb-src.list

# True when apt already has a deb-src entry configured (any file, any form).
have_deb_src() {
  # shellcheck disable=SC2016 # $(CREATED_BY) is apt's field, not the shell's
  apt-get indextargets --no-release-info --format '$(CREATED_BY)' 2>/dev/null |
    grep -qx Sources
}

# Print a deb-src twin of every enabled "deb" stanza for a Debian archive in
# the deb822 files given as arguments.
deb822_twins() {
  awk '
    function flush() {
      if (n > 0 && isdeb && debian && enabled) {
        for (i = 1; i <= n; i++) print lines[i]
        print ""
      }
      n = 0; isdeb = 0; debian = 0; enabled = 1
    }
    BEGIN { n = 0; isdeb = 0; debian = 0; enabled = 1 }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    {
      line = $0
      if (tolower($1) == "types:") {
        for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
        line = "Types: deb-src"
      } else if (tolower($1) == "uris:") {
        if ($0 ~ /debian/) debian = 1
      } else if (tolower($1) == "enabled:") {
        if (tolower($2) == "no") enabled = 0
      }
      lines[++n] = line
    }
    END { flush() }
  ' "$@"
}

# Print a deb-src twin of every "deb" line for a Debian archive in the classic
# one-line files given as arguments.
classic_twins() {
  sed -n -E 's/^[[:space:]]*deb([[:space:]]+.*debian.*)$/deb-src\1/p' "$@"
}

ensure_deb_src() {
  if have_deb_src; then
    return
  fi
  local deb822=() classic=() f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f && $f != "$SRC_LIST_DEB822" ]] && deb822+=("$f")
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f && $f != "$SRC_LIST_CLASSIC" ]] && classic+=("$f")
  done
  local twins
  if ((${#deb822[@]})); then
    twins=$(deb822_twins "${deb822[@]}")
    if [[ -n $twins ]]; then
      say "adding deb-src entries ($SRC_LIST_DEB822)"
      printf '# Added by Velmora scripts/setup.sh: Debian source packages.\n%s\n' \
        "$twins" >"$SRC_LIST_DEB822"
    fi
  fi
  # Classic entries only when no deb822 entry was found, so that a machine
  # that lists the archive both ways does not get it twice.
  if [[ ! -f $SRC_LIST_DEB822 ]] && ((${#classic[@]})); then
    twins=$(classic_twins "${classic[@]}")
    if [[ -n $twins ]]; then
      say "adding deb-src entries ($SRC_LIST_CLASSIC)"
      printf '# Added by Velmora scripts/setup.sh: Debian source packages.\n%s\n' \
        "$twins" >"$SRC_LIST_CLASSIC"
    fi
  fi
  have_deb_src || die "found no Debian 'deb' entry to add a deb-src twin of"
  apt_update
}

# Versions of source package $1 known to apt, newest first.
source_versions() {
  apt-cache showsrc "$1" 2>/dev/null |
    awk -v want="$1" '/^Package: /{p = $2} /^Version: / && p == want {print $2}' |
    sort -u | sort -r -V
}

# fetch_source NAME UPSTREAM DIR LOG: download the source package into DIR, trying
# every version with that upstream version, newest first (a security upload
# can answer 404 while an older one downloads). When none downloads and the
# package lists were not refreshed in this run, refresh them and try again.
fetch_source() {
  local name=$1 upstream=$2 dir=$3 log=$4
  try_fetch_source "$@" && return 0
  if ((APT_UPDATED == 0)); then
    apt_update
    try_fetch_source "$@" && return 0
  fi
  die "$name: no source version for upstream $upstream downloaded (see $log)"
}

try_fetch_source() {
  local name=$1 upstream=$2 dir=$3 log=$4 v up
  for v in $(source_versions "$name"); do
    # Debian version: [epoch:]upstream[+suffix]-revision
    up=${v#*:}
    up=${up%-*}
    [[ $up == "$upstream" || $up == "$upstream"[+~]* ]] || continue
    if (cd "$dir" && apt-get source --download-only "$name=$v") >>"$log" 2>&1 </dev/null; then
      say "$name: downloaded source $v"
      FETCHED_VERSION=$v
      return 0
    fi
    say "$name: source $v did not download"
    find "$dir" -mindepth 1 -delete
  done
  return 1
}

# unpack_source DIR LOG: unpack the downloaded source package in DIR into
# DIR/src and print that directory. dpkg-source extracts the .orig tarball and
# applies Debian's patch series, which carries the security fixes made to this
# release after it came out (the bare .orig tarball does not have them).
unpack_source() {
  local dir=$1 log=$2 dsc
  dsc=$(find "$dir" -maxdepth 1 -name '*.dsc' | head -n 1)
  [[ -n $dsc ]] || die "no .dsc in $dir"
  run "$log" dpkg-source -x "$dsc" "$dir/src"
  [[ -d "$dir/src" ]] || die "dpkg-source did not unpack $dsc"
  printf '%s\n' "$dir/src"
}

cmake_cross() {
  local log=$1 src=$2 build=$3; shift 3
  run "$log" cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    "$@"
}

# build_<stamp name> SOURCE BUILD LOG UPSTREAM: build a library from its unpacked source in the
# folder BUILD, with the output in LOG, and install it into $PREFIX.

build_libpng() {
  local src=$1 build=$2 log=$3
  cmake_cross "$log" "$src" "$build" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DZLIB_LIBRARY="$MINGW_SYSROOT/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$MINGW_SYSROOT/include"
  run "$log" cmake --build "$build" --target png_static
  run "$log" cmake --install "$build"
}

# Only the library and its four headers are installed: libjpeg-turbo's install
# rules also want the command-line tools (cjpeg, djpeg, ...) built, which the
# project does not use.
build_libjpeg_turbo() {
  local src=$1 build=$2 log=$3 h
  cmake_cross "$log" "$src" "$build" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=0 -DWITH_TURBOJPEG=0
  run "$log" cmake --build "$build" --target jpeg-static
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  install -m 644 "$build/libjpeg.a" "$PREFIX/lib/libjpeg.a"
  for h in "$build/jconfig.h" "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h"; do
    install -m 644 "$h" "$PREFIX/include/"
  done
}

build_giflib() {
  local src=$1 build=$2 log=$3
  run "$log" make -C "$src" CC="$CROSS_CC" AR="$CROSS_AR" libgif.a
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  install -m 644 "$src/libgif.a" "$PREFIX/lib/libgif.a"
  install -m 644 "$src/gif_lib.h" "$PREFIX/include/gif_lib.h"
}

# Google Benchmark for the window benchmarks that run under Wine. Its own tests
# are left out, and its version is given: Debian's patches drop reading it
# from git tags.
build_benchmark() {
  local src=$1 build=$2 log=$3 upstream=$4
  cmake_cross "$log" "$src" "$build" \
    -DGIT_VERSION="$upstream" -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_INSTALL_DOCS=OFF
  run "$log" cmake --build "$build"
  run "$log" cmake --install "$build"
}

# library_build_function STAMP: the function that builds the library of that stamp name.
library_build_function() {
  printf 'build_%s' "${1//-/_}"
}

# library_stamp_line NAME UPSTREAM STAMP: what a library's stamp records: its source package, the
# upstream version and a hash of its recipe (its build function, with the cross-compiling
# toolchain when it builds with CMake).
library_stamp_line() {
  local name=$1 upstream=$2 stamp=$3 build recipe
  build=$(library_build_function "$stamp")
  recipe=$(
    declare -f "$build"
    printf '%s\n' "$CROSS_CC" "$CROSS_AR" "$MINGW_SYSROOT"
    if declare -f "$build" | grep -q cmake_cross; then
      declare -f cmake_cross
      cat "$TOOLCHAIN" 2>/dev/null
    fi
  )
  printf '%s %s recipe %s' "$name" "$upstream" "$(recipe_hash <<<"$recipe")"
}

build_libraries() {
  local todo=() entry name upstream stamp build recorded line
  for entry in "${LIBS[@]}"; do
    read -r name upstream stamp <<<"$entry"
    recorded=$(stamp_line "$stamp")
    line=$(library_stamp_line "$name" "$upstream" "$stamp")
    [[ $recorded == "$line" ]] && continue
    [[ -z $recorded ]] || say "$stamp: stamp records '$recorded', not '$line': building again"
    todo+=("$entry")
  done
  if ((${#todo[@]} == 0)); then
    say "i686 libraries: built ($PREFIX)"
    return
  fi
  command -v "$CROSS_CC" >/dev/null || die "$CROSS_CC not found"
  for entry in "${todo[@]}"; do
    read -r name upstream stamp <<<"$entry"
    build=$(library_build_function "$stamp")
    declare -F "$build" >/dev/null || die "no $build for the library $stamp"
    if declare -f "$build" | grep -q cmake_cross && [[ ! -f $TOOLCHAIN ]]; then
      die "toolchain file missing: $TOOLCHAIN (needed to build $stamp)"
    fi
  done
  # Left over by an interrupted run.
  rm -rf "$CACHE"/build-*
  ensure_deb_src
  mkdir -p "$PREFIX"
  for entry in "${todo[@]}"; do
    read -r name upstream stamp <<<"$entry"
    local log="$LOGS/$stamp.log"
    : >"$log"
    local work
    work=$(mktemp -d "$CACHE/build-$stamp.XXXXXX")
    say "$stamp: fetching source"
    fetch_source "$name" "$upstream" "$work" "$log"
    local src
    src=$(unpack_source "$work" "$log")
    say "$stamp: building"
    "$(library_build_function "$stamp")" "$src" "$work/build" "$log" "$upstream"
    rm -rf "$work"
    write_stamp "$stamp" "$(library_stamp_line "$name" "$upstream" "$stamp")" \
      "source $name $FETCHED_VERSION"
    say "$stamp: installed"
  done
}

verify_libraries() {
  local f missing=()
  for f in "$PREFIX/lib/libpng16.a" "$PREFIX/lib/libjpeg.a" "$PREFIX/lib/libgif.a" \
    "$PREFIX/include/png.h" "$PREFIX/include/jpeglib.h" "$PREFIX/include/gif_lib.h" \
    "$PREFIX/lib/libbenchmark.a" "$PREFIX/include/benchmark/benchmark.h"; do
    [[ -f $f ]] || missing+=("$f")
  done
  ((${#missing[@]} == 0)) || die "missing after set-up: ${missing[*]}"
}

# setup_i686_libraries: the whole part.
setup_i686_libraries() {
  build_libraries
  verify_libraries
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  begin_setup
  setup_i686_libraries
fi
