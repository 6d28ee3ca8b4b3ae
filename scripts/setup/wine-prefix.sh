#!/usr/bin/env bash
# Set-up part: the private Wine prefix, $CACHE/wineprefix (or $VELMORA_WINEPREFIX), with the CJK
# font mapping, Wine's Marlett symbol font and Wine's X11 driver set to leave windows unmanaged.
# Run by scripts/setup.sh, or alone (as root) once the packages are in place.

# shellcheck source=scripts/setup/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

WINEPFX=$WINEPREFIX
PREFIX_STAMP="$STAMPS/$(basename "$WINEPFX")"

# Faces the program may name, all drawn with the installed CJK font.
FONT_FACES=(宋体 SimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei" Tahoma "MS Shell Dlg" "MS Shell Dlg 2")
FONT_TARGET="WenQuanYi Micro Hei"

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

# wine_prefix_stamp_line: what the prefix's stamp records: the Wine that made it and a hash of
# the recipe (create_wine_prefix, with the font mapping it writes and checks).
wine_prefix_stamp_line() {
  local recipe
  recipe=$(
    declare -f create_wine_prefix fonts_in_place reg_escape
    printf '%s\n' "${FONT_FACES[@]}" "$FONT_TARGET"
  )
  printf '%s recipe %s' "$(wine --version)" "$(recipe_hash <<<"$recipe")"
}

make_wine_prefix() {
  local stamp_name recorded line
  stamp_name=$(basename "$PREFIX_STAMP")
  recorded=$(stamp_line "$stamp_name")
  line=$(wine_prefix_stamp_line)
  if [[ -f "$WINEPFX/system.reg" ]]; then
    if [[ $recorded == "$line" ]]; then
      say "wine prefix: ready ($WINEPFX)"
      return
    fi
    # A complete prefix made by other means (a copy of this one) is taken as it is.
    if [[ -z $recorded ]] && fonts_in_place; then
      write_stamp "$stamp_name" "$line" "taken as it was found"
      say "wine prefix: ready ($WINEPFX)"
      return
    fi
  fi
  [[ -z $recorded ]] || say "wine prefix: stamp records '$recorded', not '$line': making it again"
  create_wine_prefix
  write_stamp "$stamp_name" "$line" "made $(date -u +%FT%TZ)"
  say "wine prefix: ready ($WINEPFX)"
}

# create_wine_prefix: a new prefix in place of whatever is there, with the font mapping, checked
# by running a 32-bit program in it.
create_wine_prefix() {
  local log="$LOGS/wineprefix.log"
  : >"$log"
  if [[ -e $WINEPFX ]]; then
    say "wine prefix: removing the prefix there"
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

verify_wine_prefix() {
  local f missing=()
  for f in "$PREFIX_STAMP" "$WINEPFX/user.reg" "$WINEPFX/drive_c/windows/Fonts/marlett.ttf"; do
    [[ -f $f ]] || missing+=("$f")
  done
  ((${#missing[@]} == 0)) || die "missing after set-up: ${missing[*]}"
}

# setup_wine_prefix: the whole part.
setup_wine_prefix() {
  make_wine_prefix
  install_symbol_font
  setup_wine_x11_driver
  verify_wine_prefix
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  begin_setup
  setup_wine_prefix
fi
