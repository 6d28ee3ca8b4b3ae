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

# run_fuzz: build the fuzz preset and run the program data fuzzer for a minute from seeds made
# from the sample window data; counts as one test.
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
  if build/fuzz/tests/fuzz/program_data_fuzzer -max_total_time=60 -print_final_stats=1 \
      "$corpus" "$seeds" 2>&1 | tail -n 12; [[ ${PIPESTATUS[0]} -eq 0 ]]; then
    passed_total=$((passed_total + 1))
  else
    failed_total=$((failed_total + 1))
    failed_suites+=("fuzz")
  fi
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
