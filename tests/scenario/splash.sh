#!/usr/bin/env bash
# The start-up sequence over the disc image: the title picture, then the first logo movie
# playing with its sound; a press of A moves on to the second movie at once.
# Arguments: the splash stand-in game, the disc directory.
set -u
game=$1
disc=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0

fail() {
  echo "FAIL: $*"
  failed=1
}

printf '160 hold A\n162 hold none\n' >"$dir/skip.txt"
if ! "$game" --headless --frames 200 --disc "$disc" --input "$dir/skip.txt" \
  --screenshot "150:$dir/movie.png" >"$dir/run.log" 2>&1; then
  fail "the run failed"
fi
for line in "Loaded movie wii/movies/logo_studio.thp" "Key skip" \
  "Loaded movie wii/movies/logo_engine.thp"; do
  grep -qF "$line" "$dir/run.log" || fail "no \"$line\" in the log"
done
grep -qF "Error" "$dir/run.log" && fail "an error was logged"
[ -s "$dir/movie.png" ] || fail "no screenshot of the movie"

if [ $failed -ne 0 ]; then
  cat "$dir/run.log"
  exit 1
fi
echo "PASS"
