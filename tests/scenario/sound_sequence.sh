#!/usr/bin/env bash
# A headless run of the scripted sound sequence, captured with --audio-out, and the capture
# checked by analysis: effects at levels 0 to 5, a music cue starting 0.15 s after it was
# asked for, a change of cue, no clipping.
# Arguments: the sequence stand-in, the WAV checker.
set -u
game=$1
check=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
if ! output=$("$game" --headless --frames 320 --audio-out "$dir/sound.wav" 2>&1); then
  echo "exit code $?"
  echo "$output"
  exit 1
fi
"$check" "$dir/sound.wav"
