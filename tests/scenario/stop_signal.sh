#!/usr/bin/env bash
# SIGINT and SIGTERM end a headless run through its main loop: the closing line, exit 0.
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for signal in INT TERM; do
  rm -f "$work/out"
  "$game" --headless --nand "$work/nand" >"$work/out" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    grep -qs "running headless until stopped" "$work/out" && break
    sleep 0.05
  done
  kill -s "$signal" "$pid"
  wait "$pid"
  status=$?
  if [ $status -ne 0 ] || ! grep -qE "^host: [0-9]+ frames$" "$work/out"; then
    echo "SIG$signal: exit code $status, output:"
    cat "$work/out"
    exit 1
  fi
done
