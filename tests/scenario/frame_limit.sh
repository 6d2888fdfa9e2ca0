#!/usr/bin/env bash
# The game runs headless for exactly the frames asked for and exits 0.
set -u
game=$1
output=$("$game" --headless --frames 120 2>&1)
status=$?
if [ $status -ne 0 ]; then
  echo "exit code $status"
  echo "$output"
  exit 1
fi
if ! grep -qx "host: 120 frames" <<<"$output"; then
  echo "expected 'host: 120 frames' in:"
  echo "$output"
  exit 1
fi
