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

# What a run starts must not outlive it, however it ends (Ctrl-C among the ways): its folder of
# build logs; the service tests' PostgreSQL cluster, when they are cut short before the test that
# stops it; when the win32 tests are cut short, the end-to-end runs' demo service (started apart
# from CTest, so that it outlives the test that starts it), with the fake provider that some runs
# start beside it, and the test CA that the Wine prefix trusts only while they run; and the X display and Wine server, which ignore Ctrl-C.
run_folder=$(mktemp -d)
win32_running=0
stop_what_the_run_started() {
  local preset
  for preset in native sanitize; do
    bash tests/service/postgres_cluster.sh stop "build/$preset/tests/service"
  done
  if ((win32_running)); then
    local app=build/win32/tests/app
    bash tests/app/e2e/demo_service.sh stop "" "" "$app"
    if [[ -f $app/e2e-certificates/ca.der && -f $app/root_certificate.exe ]]; then
      scripts/wine-run "$app/root_certificate.exe" remove "Z:$PWD/$app/e2e-certificates/ca.der" \
        >/dev/null 2>&1 </dev/null || true
    fi
  fi
  [[ -z $xvfb_pid ]] || stop_wine_display
  rm -rf "$run_folder"
}
trap stop_what_the_run_started EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

bash scripts/setup.sh || exit 1

failed_suites=()
passed_total=0
failed_total=0

# run_suite PRESET: configure, build and test one configuration; tally its CTest summary.
run_suite() {
  local preset=$1 log="$run_folder/$1.log"
  echo "== $preset"
  if ! cmake --preset "$preset" >"$log" 2>&1 || ! cmake --build --preset "$preset" >>"$log" 2>&1; then
    tail -n 60 "$log"
    failed_suites+=("$preset (build)")
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
}

# fuzz_target NAME SECONDS: one libFuzzer target for a while, from its seed files in
# tests/fuzz/seeds/ and the seeds made for the run in build/fuzz/seeds/ (each folder named for the
# target without "_fuzzer"); what it finds goes to build/fuzz/corpus/. Counts as one test.
fuzz_target() {
  local name=$1 seconds=$2 seeds=${1%_fuzzer} folder
  local corpus=("build/fuzz/corpus/$seeds")
  mkdir -p "${corpus[0]}"
  for folder in "tests/fuzz/seeds/$seeds" "build/fuzz/seeds/$seeds"; do
    [[ -d $folder ]] && corpus+=("$folder")
  done
  echo "-- $name"
  if build/fuzz/tests/fuzz/"$name" -max_total_time="$seconds" -print_final_stats=1 "${corpus[@]}" 2>&1 |
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
  local log="$run_folder/fuzz.log"
  echo "== fuzz"
  if ! cmake --preset fuzz >"$log" 2>&1 || ! cmake --build --preset fuzz >>"$log" 2>&1; then
    tail -n 60 "$log"
    failed_suites+=("fuzz (build)")
    return
  fi
  local seeds=build/fuzz/seeds
  rm -rf "$seeds" && mkdir -p "$seeds"/{program_data,picture}
  build/fuzz/tests/fuzz/make_fuzz_seeds "$seeds/program_data"
  make_picture_seeds "$seeds/picture"
  fuzz_target program_data_fuzzer 60
  fuzz_target text_commands_fuzzer 20
  fuzz_target picture_fuzzer 30
  fuzz_target service_replies_fuzzer 20
  fuzz_target request_target_fuzzer 20
  fuzz_target provider_answers_fuzzer 20
}

# make_picture_seeds DIR: the window data's pictures and cut-off copies of them (the small JPEG
# and BMP files beside them are in tests/fuzz/seeds/picture/).
make_picture_seeds() {
  local picture name
  for picture in forms/data/pictures/*; do
    name=$(basename "$picture")
    cp "$picture" "$1/$name"
    head -c 64 "$picture" >"$1/head-$name"
    head -c "$(($(stat -c %s "$picture") / 2))" "$picture" >"$1/half-$name"
  done
}

for stage in "${stages[@]}"; do
  case $stage in
    native | sanitize) run_suite "$stage" ;;
    fuzz) run_fuzz ;;
    win32)
      win32_running=1
      start_wine_display
      run_suite win32
      win32_running=0
      stop_wine_display
      ;;
  esac
done

echo
if [[ ${#failed_suites[@]} -gt 0 ]]; then echo "failed: ${failed_suites[*]}"; fi
echo "$passed_total passed, $failed_total failed"
[[ ${#failed_suites[@]} -eq 0 ]]
