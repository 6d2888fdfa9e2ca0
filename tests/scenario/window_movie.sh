#!/usr/bin/env bash
# The first logo movie playing with its sound in the window host, on a virtual display
# (xvfb-run) with SDL's audio thread running on its dummy device: the retrace's pacing on
# the main thread and the mixing on SDL's thread share the player, which the thread
# sanitizer's build checks. Skipped (77) where xvfb-run is missing.
# Arguments: the splash stand-in game, the disc directory.
set -u
game=$1
disc=$2
if ! command -v xvfb-run >/dev/null; then
  echo "SKIP: no xvfb-run (Debian package xvfb)"
  exit 77
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed=0

fail() {
  echo "FAIL: $*"
  failed=1
}

SDL_AUDIODRIVER=dummy xvfb-run -a "$game" --frames 200 --disc "$disc" >"$log" 2>&1 ||
  fail "the run failed"
for line in "Loaded movie wii/movies/logo_studio.thp" "host: 200 frames"; do
  grep -qF "$line" "$log" || fail "no \"$line\" in the log"
done
grep -qF "no sound" "$log" && fail "the window host opened no sound device"
grep -qF "Error" "$log" && fail "an error was logged"

if [ $failed -ne 0 ]; then
  cat "$log"
  exit 1
fi
echo "PASS"
