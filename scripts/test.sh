#!/usr/bin/env bash
# Sets up the machine, builds the native, sanitizer and win32 configurations and runs every test.
# The win32 tests run under Wine on a private X display.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/setup.sh || exit 1

failed_suites=()
passed_total=0
failed_total=0

# run_suite PRESET: configure, build and test one configuration; tally its CTest summary.
run_suite() {
  local preset=$1 log
  log=$(mktemp)
  echo "== $preset"
  if ! cmake --preset "$preset" >"$log" 2>&1 || ! cmake --build --preset "$preset" >>"$log" 2>&1; then
    tail -n 60 "$log"
    failed_suites+=("$preset (build)")
    rm -f "$log"
    return
  fi
  ctest --preset "$preset" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local summary
  summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed_total=$((failed_total + BASH_REMATCH[1]))
    passed_total=$((passed_total + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
  if [[ $status -ne 0 || -z $summary ]]; then failed_suites+=("$preset"); fi
  rm -f "$log"
}

# run_fuzz: build the fuzz preset, run the program data fuzzer for a minute from seeds made from
# the sample window data and the picture fuzzer for half a minute from the window data's
# pictures; each counts as one test.
run_fuzz() {
  local log seeds corpus
  log=$(mktemp)
  echo "== fuzz"
  if ! cmake --preset fuzz >"$log" 2>&1 || ! cmake --build --preset fuzz >>"$log" 2>&1; then
    tail -n 60 "$log"
    failed_suites+=("fuzz (build)")
    rm -f "$log"
    return
  fi
  rm -f "$log"
  seeds=build/fuzz/seeds/program_data
  corpus=build/fuzz/corpus/program_data
  rm -rf "$seeds" && mkdir -p "$seeds" "$corpus"
  build/fuzz/tests/fuzz/make_fuzz_seeds "$seeds"
  fuzz_target program_data 60 "$corpus" "$seeds"
  seeds=build/fuzz/seeds/picture
  corpus=build/fuzz/corpus/picture
  rm -rf "$seeds" && mkdir -p "$seeds" "$corpus"
  make_picture_seeds "$seeds"
  fuzz_target picture 30 "$corpus" "$seeds"
}

# fuzz_target NAME SECONDS CORPUS SEEDS: runs NAME_fuzzer; counts as one test.
fuzz_target() {
  if build/fuzz/tests/fuzz/"$1"_fuzzer -max_total_time="$2" -print_final_stats=1 \
      "$3" "$4" 2>&1 | tail -n 12; [[ ${PIPESTATUS[0]} -eq 0 ]]; then
    passed_total=$((passed_total + 1))
  else
    failed_total=$((failed_total + 1))
    failed_suites+=("fuzz $1")
  fi
}

# make_picture_seeds DIR: the window data's pictures, cut-off copies of them, and small JPEG and
# BMP files.
make_picture_seeds() {
  local picture name
  for picture in forms/data/pictures/*; do
    name=$(basename "$picture")
    cp "$picture" "$1/$name"
    head -c 64 "$picture" >"$1/head-$name"
    head -c "$(($(stat -c %s "$picture") / 2))" "$picture" >"$1/half-$name"
  done
  convert -size 12x10 gradient:red-blue "$1/gradient.jpg"
  convert -size 12x10 gradient:red-blue -interlace JPEG "$1/progressive.jpg"
  convert -size 12x10 gradient:red-blue "BMP3:$1/gradient.bmp"
  convert -size 12x10 gradient:red-blue -colors 16 "BMP3:$1/palette.bmp"
}

run_suite native
run_suite sanitize
run_fuzz
start_wine_display
run_suite win32
stop_wine_display

echo
if [[ ${#failed_suites[@]} -gt 0 ]]; then echo "failed: ${failed_suites[*]}"; fi
echo "$passed_total passed, $failed_total failed"
[[ ${#failed_suites[@]} -eq 0 ]]
