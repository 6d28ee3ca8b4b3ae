# shellcheck shell=bash
# The checks of the tests written in bash: `check WHAT ACTUAL EXPECTED` counts a check and says
# what failed; `checks_summary` prints the count and fails when one did. Sourced.
failures=0
checks=0
check() {
  local what=$1 actual=$2 expected=$3
  checks=$((checks + 1))
  if [[ $actual != "$expected" ]]; then
    printf 'FAIL: %s: got "%s", expected "%s"\n' "$what" "$actual" "$expected"
    failures=$((failures + 1))
  fi
}

checks_summary() {
  echo "$((checks - failures)) passed, $failures failed"
  ((failures == 0))
}
