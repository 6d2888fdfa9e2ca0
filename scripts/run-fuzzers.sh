#!/usr/bin/env bash
# Runs every fuzz target in a folder for a fixed number of runs over its corpus
# (fuzz/corpus/<target>/, seeded by the target's own writer when empty), as many at a time
# as there are processors. A target that fails shows its output and fails the whole; the
# input that failed is shown in that output and left nowhere else.
set -euo pipefail
bin=$1
runs=$2
root=$(cd "$(dirname "$0")/.." && pwd)

run_target() {
  local target=$1 name scratch status=0
  name=$(basename "$target")
  scratch=$(mktemp -d)
  ASAN_OPTIONS=detect_leaks=0 "$target" -runs="$runs" -seed=1 -artifact_prefix="$scratch/" "$scratch" \
    "$root/fuzz/corpus/$name" >"$scratch.log" 2>&1 || status=$?
  if [ "$status" -eq 0 ]; then
    echo "-- $name"
  else
    echo "-- $name failed:"
    cat "$scratch.log"
  fi
  rm -rf "$scratch" "$scratch.log"
  return "$status"
}
export -f run_target
export runs root

find "$bin" -maxdepth 1 -type f -name 'fuzz_*' -print0 | sort -z |
  xargs -0 -r -n 1 -P "$(nproc)" bash -c 'run_target "$1"' run_target
