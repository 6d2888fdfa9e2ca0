#!/usr/bin/env bash
# --screenshot writes the picture shown after N frames as a PNG of the shown size:
# the stand-in game's clear colour in PAL and NTSC, and the game's picture; bad values
# are refused with exit code 2 and an unwritable file ends the run with exit code 1.
# Arguments: the game, the clear-colour stand-in, the PNG checker.
set -u
game=$1
clear_colour=$2
check=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0

fail() {
  echo "FAIL: $*"
  failed=1
}

# expect_picture NAME WIDTH HEIGHT RED GREEN BLUE TOLERANCE PROGRAM [OPTIONS...]
expect_picture() {
  local name=$1 width=$2 height=$3 red=$4 green=$5 blue=$6 tolerance=$7 program=$8
  shift 8
  local output
  if ! output=$("$program" --headless --frames 120 --screenshot "60:$dir/$name.png" "$@" 2>&1); then
    fail "$name: exit code $?"
    echo "$output"
    return
  fi
  "$check" "$dir/$name.png" "$width" "$height" "$red" "$green" "$blue" "$tolerance" || fail "$name"
}

# expect_exit NAME CODE OPTIONS...
expect_exit() {
  local name=$1 code=$2
  shift 2
  "$clear_colour" --headless "$@" >"$dir/$name.log" 2>&1
  local status=$?
  if [ $status -ne "$code" ]; then
    fail "$name: exit code $status, expected $code"
    cat "$dir/$name.log"
  fi
}

# The stand-in clears to 200, 120, 40 (clear_colour_game.cpp); of the game's own
# picture only the size is checked.
expect_picture pal 640 526 200 120 40 2 "$clear_colour"
expect_picture ntsc 640 448 200 120 40 2 "$clear_colour" --tv ntsc
expect_picture game 640 526 0 0 0 255 "$game"

expect_exit after_last_frame 2 --frames 10 --screenshot "11:$dir/late.png"
expect_exit not_png 2 --frames 10 --screenshot "5:$dir/shot.bmp"
expect_exit no_frame 2 --frames 10 --screenshot "$dir/shot.png"
expect_exit unwritable 1 --frames 10 --screenshot "5:$dir/missing/shot.png"
grep -q "cannot write screenshot" "$dir/unwritable.log" || fail "unwritable: no error logged"

exit $failed
