#!/usr/bin/env bash
# Runs every fuzz target in a folder for a fixed number of runs over its corpus
# (fuzz/corpus/<target>/, seeded by the target's own writer when empty).
set -euo pipefail
bin=$1
runs=$2
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for target in "$bin"/fuzz_*; do
  name=$(basename "$target")
  corpus="$root/fuzz/corpus/$name"
  scratch=$(mktemp -d)
  echo "-- $name"
  ASAN_OPTIONS=detect_leaks=0 "$target" -runs="$runs" -seed=1 "$scratch" "$corpus" >"$scratch.log" 2>&1 ||
    { cat "$scratch.log"; exit 1; }
  rm -rf "$scratch" "$scratch.log"
done
