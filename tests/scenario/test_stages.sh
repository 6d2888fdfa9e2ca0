#!/usr/bin/env bash
# ./test's course (scripts/test-stages.sh) over stand-in stages, some made to fail: each
# failure is counted and named in the closing line, the stages that do not need the failed
# one still run, and the run fails. Takes the script.
set -u
stages=$1
failures=0

# The stand-ins: each tree's tests count 10 passed, the fuzz targets 3; a stage named in
# $failing fails (a test stage with one failed test of its 10).
check_format() { [[ $failing != *"format"* ]] || return 123; }
build_tree() { [[ $failing != *"build $1"* ]]; }
test_tree() {
  local failed_tests=0
  [[ $failing != *"test $1"* ]] || failed_tests=1
  add_counts "test $1" "$failed_tests" $((10 - failed_tests)) "$failed_tests"
}
run_fuzzers() { add_counts fuzz 0 3 0; }

# failing | the closing line | the lines of the stages after the format check, in order
cases=(
  "|total: 23 passed, 0 failed|== test release;== test asan;== fuzz"
  "format|total: 23 passed, 1 failed (format)|== test release;== test asan;== fuzz"
  "build asan|total: 10 passed, 1 failed (build asan)|== test release;== test asan: not run, \
the tree did not build;== fuzz: not run, the sanitizer tree did not build"
  "format build release test asan|total: 12 passed, 3 failed (format, build release, test asan)|\
== test release: not run, the tree did not build;== test asan;== fuzz"
)
for case in "${cases[@]}"; do
  IFS='|' read -r failing total lines <<<"$case"
  # As ./test runs them: a command that fails outside a test ends the run.
  output=$(set -euo pipefail; source "$stages"; run_stages 2>&1)
  status=$?
  want_status=0
  [ -z "$failing" ] || want_status=1
  IFS=';' read -r -a want_lines <<<"$lines"
  stage_lines=$(grep '^== ' <<<"$output" | grep -v -E '^== (format|done in .*)$')
  if [ "$status" -ne "$want_status" ] || [ "$(tail -n 1 <<<"$output")" != "$total" ] ||
    [ "$stage_lines" != "$(printf '%s\n' "${want_lines[@]}")" ]; then
    echo "failing '$failing': exit code $status (want $want_status), want '$total' last and"
    echo "the stages '$lines', in:"
    echo "$output"
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ]
