# The course and counting of ./test, sourced by it: the formatting check, each tree's build
# and tests, then the fuzz targets, with a closing line that counts them. A stage that fails
# is counted and named, and the run goes on with what does not need it: a tree that does not
# build runs no tests, and the fuzz targets need the sanitizer tree.
passed=0
failed=0
failed_stages=()

# run_stage NAME COMMAND...: runs a stage that passes or fails as a whole; a failure counts
# once, named NAME, and gives the command's status.
run_stage() {
  local name=$1 status=0
  shift
  "$@" || status=$?
  if [ "$status" -ne 0 ]; then
    failed=$((failed + 1))
    failed_stages+=("$name")
  fi
  return "$status"
}

# add_counts NAME STATUS PASSED FAILED: adds what a stage's log shows passed and failed, and
# one failure more when the stage failed (STATUS) with none shown; a stage with a failure is
# named.
add_counts() {
  local name=$1 status=$2 stage_passed=$3 stage_failed=$4
  if [ "$status" -ne 0 ] && [ "$stage_failed" -eq 0 ]; then
    stage_failed=1
  fi
  passed=$((passed + stage_passed))
  failed=$((failed + stage_failed))
  if [ "$stage_failed" -ne 0 ]; then
    failed_stages+=("$name")
  fi
}

# The closing line, "total: N passed, N failed", with the stages that failed in brackets;
# fails when any did.
finish_stages() {
  local named="" IFS=,
  if [ ${#failed_stages[@]} -ne 0 ]; then
    named=" (${failed_stages[*]})"
    named=${named//,/, }
  fi
  echo "total: $passed passed, $failed failed$named"
  [ "$failed" -eq 0 ]
}

# Runs every stage through the caller's functions: check_format, build_tree TREE (fails
# when the tree does not build), test_tree TREE and run_fuzzers (each adds its counts).
run_stages() {
  local tree asan_built=false
  echo "== format"
  run_stage format check_format || true
  for tree in release asan; do
    if ! run_stage "build $tree" build_tree "$tree"; then
      echo "== test $tree: not run, the tree did not build"
      continue
    fi
    [ "$tree" = asan ] && asan_built=true
    echo "== test $tree"
    test_tree "$tree"
  done
  if $asan_built; then
    echo "== fuzz"
    run_fuzzers
  else
    echo "== fuzz: not run, the sanitizer tree did not build"
  fi
  echo "== done in $((SECONDS / 60)) min $((SECONDS % 60)) s"
  finish_stages
}
