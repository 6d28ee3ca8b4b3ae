#!/usr/bin/env bash
# The release package as cpack makes it from this build: the program's zip holds exactly the
# program, README.txt and SHA256SUMS, and the sums are right; README.txt is UTF-8 that begins with a
# byte order mark and breaks every line with CR LF; the debug zip holds exactly the debug file. The
# program and the debug file are the build's own.
#
#   release_package_test.sh CPACK CMAKE CPACK-CONFIG VERSION PROGRAM
set -uo pipefail

cpack=$1 cmake=$2 config=$3 version=$4 program=$5
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

fail() {
  echo "$*"
  exit 1
}

# unpack ZIP FOLDER: unpacks the zip there and prints the names of its files.
unpack() {
  [[ -f $1 ]] || fail "no $(basename "$1") among: $(ls "$work/package")"
  mkdir -p "$2" && (cd "$2" && "$cmake" -E tar xf "$1") || fail "$1 does not unpack"
  (cd "$2" && find . -type f | sort | tr '\n' ' ')
}

"$cpack" --config "$config" -B "$work/package" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  fail "cpack failed"
}

files=$(unpack "$work/package/velmora-$version-win32.zip" "$work/program") || fail "$files"
[[ $files == "./README.txt ./SHA256SUMS ./velmora.exe " ]] || fail "the program's zip holds: $files"
cd "$work/program" || exit 1
cmp -s velmora.exe "$program" || fail "velmora.exe is not the build's program"
[[ $(cut -c 67- SHA256SUMS) == $'velmora.exe\nREADME.txt' ]] || fail "SHA256SUMS lists: $(cat SHA256SUMS)"
sha256sum --quiet -c SHA256SUMS || fail "a sum in SHA256SUMS is wrong"

[[ $(head -c 3 README.txt | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "README.txt has no BOM"
iconv -f UTF-8 -t UTF-8 README.txt >/dev/null || fail "README.txt is not UTF-8"
lines=$(wc -l <README.txt)
[[ $lines -gt 10 && $(grep -c $'\r$' README.txt) == "$lines" ]] ||
  fail "README.txt: $lines lines, not all of them ending in CR LF"
grep -q "Velmora 短信验证码客户端 $version" README.txt || fail "README.txt does not name version $version"

files=$(unpack "$work/package/velmora-$version-win32-debug.zip" "$work/debug") || fail "$files"
[[ $files == "./velmora.exe.debug " ]] || fail "the debug zip holds: $files"
cmp -s "$work/debug/velmora.exe.debug" "$program.debug" || fail "velmora.exe.debug is not the build's"
