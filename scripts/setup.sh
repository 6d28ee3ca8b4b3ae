#!/usr/bin/env bash
# Set up a Debian 12 machine for building and testing Velmora.
#
#   1. Debian packages (compilers, Wine, test and benchmark libraries, ...).
#   2. libpng, libjpeg-turbo, giflib and Google Benchmark built as static i686
#      Windows libraries from Debian's source packages, installed into $CACHE/i686.
#   3. A private Wine prefix in $CACHE/wineprefix (or $VELMORA_WINEPREFIX) with
#      the CJK font mapping and Wine's Marlett symbol font.
#
# Cache root: $VELMORA_CACHE, by default the folder in scripts/default-cache-folder. Every step checks before
# doing anything, so a second run with everything in place takes seconds.
# Must run as root. Detailed output of each step goes to $CACHE/logs/.
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$SCRIPT_DIR/.." && pwd)
TOOLCHAIN="$REPO/cmake/toolchain-mingw-i686.cmake"

# The cache folder (exported: the project's toolchain file reads it to find $CACHE/i686) and the
# Wine prefix, found as every script finds them.
# shellcheck source=scripts/cache-env.sh
source "$SCRIPT_DIR/cache-env.sh"
CACHE=$VELMORA_CACHE
PREFIX="$CACHE/i686"
STAMPS="$CACHE/stamps"
LOGS="$CACHE/logs"
WINEPFX=$WINEPREFIX
PREFIX_STAMP="$STAMPS/$(basename "$WINEPFX")"

MINGW_SYSROOT=/usr/i686-w64-mingw32
CROSS_CC=i686-w64-mingw32-gcc-posix
CROSS_AR=i686-w64-mingw32-ar

PACKAGES=(
  wine wine32:i386 wine64 libgnutls30:i386
  g++-mingw-w64-i686 libz-mingw-w64-dev
  xvfb xauth fonts-wqy-microhei
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  dpkg-dev pkgconf libsqlite3-dev libcpp-httplib-dev nlohmann-json3-dev python3-requests
  libsodium-dev libssl-dev openssl
  libpng-dev libjpeg62-turbo-dev libgif-dev zlib1g-dev
  imagemagick x11-apps xdotool curl
)

# Source package, upstream version we build, stamp name. The Debian revision
# is whichever of that upstream version downloads first, newest first.
LIBS=(
  "libpng1.6 1.6.39 libpng"
  "libjpeg-turbo 2.1.5 libjpeg-turbo"
  "giflib 5.2.1 giflib"
  "benchmark 1.7.1 benchmark"
)

# Faces the program may name, all drawn with the installed CJK font.
FONT_FACES=(宋体 SimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei" Tahoma "MS Shell Dlg" "MS Shell Dlg 2")
FONT_TARGET="WenQuanYi Micro Hei"

say() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: ERROR: %s\n' "$*" >&2; exit 1; }

# run LOGFILE CMD...: run a command with all output in LOGFILE; on failure show
# the end of the log and stop.
run() {
  local log=$1; shift
  if ! "$@" >>"$log" 2>&1 </dev/null; then
    printf 'setup: ERROR: command failed: %s\n' "$*" >&2
    printf 'setup: last lines of %s:\n' "$log" >&2
    tail -n 30 "$log" >&2 || true
    exit 1
  fi
}

[[ $(id -u) -eq 0 ]] || die "must run as root"

APT_UPDATED=0
FETCHED_VERSION=
apt_update() {
  local log="$LOGS/apt.log"
  say "apt-get update"
  run "$log" apt-get update
  APT_UPDATED=1
}

# ---------------------------------------------------------------- packages --
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
  local src=$1 build=$2 log=$3
  cmake_cross "$log" "$src" "$build" \
    -DGIT_VERSION=1.7.1 -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_INSTALL_DOCS=OFF
  run "$log" cmake --build "$build"
  run "$log" cmake --install "$build"
}

build_libraries() {
  local todo=() entry name upstream stamp
  for entry in "${LIBS[@]}"; do
    read -r name upstream stamp <<<"$entry"
    [[ -f "$STAMPS/$stamp" ]] || todo+=("$entry")
  done
  if ((${#todo[@]} == 0)); then
    say "i686 libraries: built ($PREFIX)"
    return
  fi
  command -v "$CROSS_CC" >/dev/null || die "$CROSS_CC not found"
  for entry in "${todo[@]}"; do
    read -r name upstream stamp <<<"$entry"
    if [[ $stamp != giflib && ! -f $TOOLCHAIN ]]; then
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
    case $stamp in
      libpng) build_libpng "$src" "$work/build" "$log" ;;
      libjpeg-turbo) build_libjpeg_turbo "$src" "$work/build" "$log" ;;
      giflib) build_giflib "$src" "$work/build" "$log" ;;
      benchmark) build_benchmark "$src" "$work/build" "$log" ;;
    esac
    rm -rf "$work"
    printf '%s %s\n' "$name" "$FETCHED_VERSION" >"$STAMPS/$stamp"
    say "$stamp: installed"
  done
}

# -------------------------------------------------------------- wine prefix --
wine_q() {
  WINEPREFIX="$WINEPFX" WINEDEBUG=-all "$@" >/dev/null 2>&1 </dev/null
}

# Registry value name as Wine writes it in user.reg: printable ASCII as is
# (with \\ and \" escaped), anything else as \xHHHH (UTF-16 code unit,
# lower-case hex). Wine may use fewer digits for code units below 0x1000; the
# face names here have none outside printable ASCII.
reg_escape() {
  local hex out="" i unit ch
  hex=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -v -tx1 | tr -d ' \n')
  for ((i = 0; i < ${#hex}; i += 4)); do
    unit=${hex:i:4}
    case $unit in
      005c) out+="\\\\" ;;
      0022) out+='\"' ;;
      007f) out+='\x007f' ;;
      00[2-7][0-9a-f])
        printf -v ch '%b' "\\x${unit:2:2}"
        out+=$ch
        ;;
      *) out+="\\x$unit" ;;
    esac
  done
  printf '%s' "$out"
}

fonts_in_place() {
  local reg="$WINEPFX/user.reg" face esc
  [[ -f $reg ]] || return 1
  local section
  section=$(awk '/^\[/{on = ($0 ~ /^\[Software\\\\Wine\\\\Fonts\\\\Replacements\]/)} on' "$reg")
  for face in "${FONT_FACES[@]}"; do
    esc=$(reg_escape "$face")
    grep -qF "\"$esc\"=\"$FONT_TARGET\"" <<<"$section" || {
      say "font mapping for '$face' not found in user.reg"
      return 1
    }
  done
}

setup_wineprefix() {
  local stamp="$PREFIX_STAMP"
  if [[ -f $stamp && -f "$WINEPFX/system.reg" ]]; then
    say "wine prefix: ready ($WINEPFX)"
    return
  fi
  # A complete prefix made by other means (a copy of this one) is taken as it is.
  if [[ -f "$WINEPFX/system.reg" ]] && fonts_in_place; then
    date -u +%FT%TZ >"$stamp"
    say "wine prefix: ready ($WINEPFX)"
    return
  fi
  local log="$LOGS/wineprefix.log"
  : >"$log"
  if [[ -e $WINEPFX ]]; then
    say "wine prefix: removing incomplete prefix"
    wine_q wineserver -k || true
    rm -rf "$WINEPFX"
  fi
  say "wine prefix: creating (wineboot -i)"
  # No Mono/Gecko install prompt (nothing to install them from here).
  WINEDLLOVERRIDES="mscoree=;mshtml=" wine_q wineboot -i ||
    die "wineboot -i failed for $WINEPFX"
  wine_q wineserver -w || true
  [[ -f "$WINEPFX/system.reg" ]] || die "wineboot did not create $WINEPFX/system.reg"

  say "wine prefix: mapping CJK font faces to '$FONT_TARGET'"
  local tmp
  rm -rf "$CACHE"/wine-tmp.*
  tmp=$(mktemp -d "$CACHE/wine-tmp.XXXXXX")
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local face
    for face in "${FONT_FACES[@]}"; do
      printf '"%s"="%s"\r\n' "$face" "$FONT_TARGET"
    done
    printf '\r\n'
  } >"$tmp/fonts.utf8"
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE "$tmp/fonts.utf8"
  } >"$tmp/fonts.reg"
  wine_q wine regedit /S "$tmp/fonts.reg" || die "regedit failed to import font mapping"
  wine_q wineserver -w || true
  fonts_in_place || die "font mapping did not land in $WINEPFX/user.reg"

  say "wine prefix: checking a 32-bit program runs"
  cat >"$tmp/hello.c" <<'EOF'
#include <stdio.h>
int main(void) { printf("velmora-wine-ok %d\n", (int)(sizeof(void *) * 8)); return 0; }
EOF
  run "$log" "$CROSS_CC" -O0 -static -o "$tmp/hello.exe" "$tmp/hello.c"
  # Output to a file, not a pipe: Wine's background services would inherit a
  # pipe and keep the reader waiting until they exit.
  WINEPREFIX="$WINEPFX" WINEDEBUG=-all wine "$tmp/hello.exe" >"$tmp/hello.out" 2>>"$log" </dev/null ||
    true
  wine_q wineserver -w || true
  # The program writes text-mode output: lines end in CR LF.
  tr -d '\r' <"$tmp/hello.out" | grep -qx 'velmora-wine-ok 32' ||
    die "32-bit test program did not run in $WINEPFX (printed: $(head -c 200 "$tmp/hello.out"))"
  rm -rf "$tmp"
  date -u +%FT%TZ >"$stamp"
  say "wine prefix: ready ($WINEPFX)"
}

# Wine draws caption buttons, combo box arrows and check marks with glyphs of the Marlett
# symbol font; without it they show as plain letters. Debian ships it in fonts-wine, which
# brings Wine's own Tahoma too, and a face that exists is not replaced by the CJK mapping
# above: so only Marlett goes into the prefix's font folder.
install_symbol_font() {
  local target="$WINEPFX/drive_c/windows/Fonts/marlett.ttf"
  if [[ -f $target ]]; then
    say "marlett: in the wine prefix"
    return
  fi
  local log="$LOGS/marlett.log" tmp
  : >"$log"
  rm -rf "$CACHE"/marlett-tmp.*
  tmp=$(mktemp -d "$CACHE/marlett-tmp.XXXXXX")
  say "marlett: taking it from Debian's fonts-wine"
  if ! (cd "$tmp" && apt-get download fonts-wine) >>"$log" 2>&1 </dev/null; then
    ((APT_UPDATED)) || apt_update
    (cd "$tmp" && run "$log" apt-get download fonts-wine)
  fi
  run "$log" dpkg-deb -x "$(find "$tmp" -maxdepth 1 -name 'fonts-wine_*.deb' | head -n 1)" "$tmp/x"
  mkdir -p "$(dirname "$target")"
  install -m 644 "$tmp/x/usr/share/wine/fonts/marlett.ttf" "$target"
  rm -rf "$tmp"
  say "marlett: in the wine prefix"
}

# Wine's X11 driver leaves top-level windows to a window manager unless told not to. The test
# display has none, so every closing window (each message box among them) would wait two seconds
# for a manager to confirm it; unmanaged, Wine draws and moves its windows itself, as Windows does.
x11_driver_in_place() {
  awk '/^\[/{on = ($0 ~ /^\[Software\\\\Wine\\\\X11 Driver\]/)} on' "$WINEPFX/user.reg" |
    grep -qx '"Managed"="N"'
}

setup_wine_x11_driver() {
  if x11_driver_in_place; then
    say "wine x11 driver: windows unmanaged"
    return
  fi
  wine_q wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f ||
    die "could not set the X11 driver's Managed value"
  wine_q wineserver -w || true
  x11_driver_in_place || die "the X11 driver's Managed value did not land in $WINEPFX/user.reg"
  say "wine x11 driver: windows unmanaged"
}

# ------------------------------------------------------------------- verify --
verify() {
  local f missing=()
  for f in "$PREFIX/lib/libpng16.a" "$PREFIX/lib/libjpeg.a" "$PREFIX/lib/libgif.a" \
    "$PREFIX/include/png.h" "$PREFIX/include/jpeglib.h" "$PREFIX/include/gif_lib.h" \
    "$PREFIX/lib/libbenchmark.a" "$PREFIX/include/benchmark/benchmark.h" \
    "$PREFIX_STAMP" "$WINEPFX/user.reg" "$WINEPFX/drive_c/windows/Fonts/marlett.ttf"; do
    [[ -f $f ]] || missing+=("$f")
  done
  ((${#missing[@]} == 0)) || die "missing after set-up: ${missing[*]}"
  say "done: libraries in $PREFIX, wine prefix $WINEPFX"
}

mkdir -p "$CACHE" "$STAMPS" "$LOGS"
install_packages
build_libraries
setup_wineprefix
install_symbol_font
setup_wine_x11_driver
verify
