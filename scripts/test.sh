#!/usr/bin/env bash
# Sets up the machine, builds the native, sanitizer and win32 configurations and runs every test,
# and runs the fuzz targets briefly. The win32 tests run under Wine on a private X display.
#
#   bash scripts/test.sh [STAGE...]   stages: native sanitize fuzz win32 (all of them by default)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

all_stages=(native sanitize fuzz win32)
stages=("$@")
((${#stages[@]})) || stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
  [[ " ${all_stages[*]} " == *" $stage "* ]] || {
    echo "test.sh: unknown stage '$stage' (stages: ${all_stages[*]})" >&2
    exit 2
  }
done

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

# fuzz_target NAME SECONDS CORPUS...: one libFuzzer target for a while; counts as one test.
fuzz_target() {
  local name=$1 seconds=$2
  shift 2
  echo "-- $name"
  if build/fuzz/tests/fuzz/"$name" -max_total_time="$seconds" -print_final_stats=1 "$@" 2>&1 |
      tail -n 12; [[ ${PIPESTATUS[0]} -eq 0 ]]; then
    passed_total=$((passed_total + 1))
  else
    failed_total=$((failed_total + 1))
    failed_suites+=("fuzz $name")
  fi
}

# run_fuzz: build the fuzz preset and run each target briefly from its seeds (long runs are made
# by hand).
run_fuzz() {
  local log
  log=$(mktemp)
  echo "== fuzz"
  if ! cmake --preset fuzz >"$log" 2>&1 || ! cmake --build --preset fuzz >>"$log" 2>&1; then
    tail -n 60 "$log"
    failed_suites+=("fuzz (build)")
    rm -f "$log"
    return
  fi
  rm -f "$log"
  local seeds=build/fuzz/seeds corpus=build/fuzz/corpus
  rm -rf "$seeds" && mkdir -p "$seeds"/{program_data,text,picture,replies} "$corpus"/{program_data,text,picture,replies}
  build/fuzz/tests/fuzz/make_fuzz_seeds "$seeds/program_data"
  printf '\x03\x01,a,,b,\xd6\xd0,' >"$seeds/text/split"
  printf '\x00\x00  -12.5e1xyz' >"$seeds/text/number"
  make_picture_seeds "$seeds/picture"
  printf '\x04demodemo,demo123,12,TAddr,VM8K2Q,f6,f7,' >"$seeds/replies/login"
  printf '\x05vip-5vip-5-30-2026555566667777-2026/12/1' >"$seeds/replies/order"
  printf '\x00\xce\xa2\xd0\xc5-1.2,QQ-1.0,Steam' >"$seeds/replies/projects"
  fuzz_target program_data_fuzzer 60 "$corpus/program_data" "$seeds/program_data"
  fuzz_target text_commands_fuzzer 20 "$corpus/text" "$seeds/text"
  fuzz_target picture_fuzzer 30 "$corpus/picture" "$seeds/picture"
  fuzz_target service_replies_fuzzer 20 "$corpus/replies" "$seeds/replies"
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

for stage in "${stages[@]}"; do
  case $stage in
    native | sanitize) run_suite "$stage" ;;
    fuzz) run_fuzz ;;
    win32)
      start_wine_display
      run_suite win32
      stop_wine_display
      ;;
  esac
done


echo
if [[ ${#failed_suites[@]} -gt 0 ]]; then echo "failed: ${failed_suites[*]}"; fi
echo "$passed_total passed, $failed_total failed"
[[ ${#failed_suites[@]} -eq 0 ]]
