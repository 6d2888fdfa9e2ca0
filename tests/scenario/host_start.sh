#!/usr/bin/env bash
# How the host starts and ends for a new user: --help, a DISPLAY with no server behind it,
# --audio-out in the window host (SDL's offscreen display) and to /dev/null, options refused
# before the game starts (an --audio-out file that cannot be made, an option without its
# value, a fault at 0, a --nand folder holding the user's files, which stay), a quiet start
# unless --verbose, and SDL loaded by a window only.
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME STATUS PATTERN command...: the exit status and a line of the output.
expect() {
  local name=$1 want=$2 pattern=$3
  shift 3
  "$@" >"$work/out" 2>&1
  local status=$?
  if [ $status -ne "$want" ] || ! grep -qE "$pattern" "$work/out"; then
    echo "$name: exit code $status (want $want), no line matching '$pattern' in:"
    cat "$work/out"
    failures=$((failures + 1))
  fi
}

expect help 0 "^  --frames N" "$game" --help
expect "bad DISPLAY" 1 "^host: no window" env DISPLAY=:97 WAYLAND_DISPLAY= "$game" --frames 5
expect "window --audio-out" 0 "^host: 30 frames$" env SDL_VIDEODRIVER=offscreen DISPLAY=:97 \
  "$game" --frames 30 --nand "$work/nand" --audio-out "$work/sound.wav"
if [ "$(stat -c %s "$work/sound.wav" 2>/dev/null || echo 0)" -le 44 ]; then
  echo "window --audio-out: no sound captured in $work/sound.wav"
  failures=$((failures + 1))
fi
# A refused option says what is wrong, then that the game does not start.
refused() {
  local name=$1 pattern=$2
  shift 2
  expect "$name" 2 "$pattern" "$game" "$@"
  if [ "$(tail -n 1 "$work/out")" != "host: the game does not start (--help lists the options)" ]
  then
    echo "$name: the last line does not say that the game does not start:"
    cat "$work/out"
    failures=$((failures + 1))
  fi
}
refused "unwritable --audio-out" "^--audio-out: cannot create '$work/missing/sound.wav': No such" \
  --headless --frames 5 --nand "$work/nand" --audio-out "$work/missing/sound.wav"
refused "--nand without its value" "^--nand needs a value, not the option '--headless'" \
  --nand --headless --frames 5
refused "--fault at 0" "^--fault: in 'dvd-read:retry@0', <when> and <duration> count from 1" \
  --headless --frames 5 --nand "$work/nand" --fault dvd-read:retry@0
# A --nand folder holding the user's files is refused, and after a run long enough to reach
# the flash memory (A leaves the strap screen at 130) the files stay, those in its tmp/ too.
mkdir -p "$work/home/tmp/drafts"
echo "the user's" >"$work/home/notes.txt"
echo "the user's" >"$work/home/tmp/drafts/letter.txt"
printf '130 hold A\n133 hold none\n' >"$work/strap.txt"
refused "--nand over the user's files" \
  "^--nand: '$work/home' holds 'notes.txt', so it is not a flash memory folder the game made" \
  --headless --frames 200 --input "$work/strap.txt" --nand "$work/home"
if [ ! -f "$work/home/notes.txt" ] || [ ! -f "$work/home/tmp/drafts/letter.txt" ] ||
  [ -e "$work/home/title" ]; then
  echo "--nand over the user's files: the folder changed:"
  find "$work/home"
  failures=$((failures + 1))
fi
# The sound may be captured to /dev/null.
expect "--audio-out /dev/null" 0 "^host: 5 frames$" \
  "$game" --headless --frames 5 --nand "$work/nand" --audio-out /dev/null
# Start-up details only with --verbose.
expect verbose 0 "^MEM1 freesize" "$game" --headless --frames 1 --nand "$work/nand" --verbose
"$game" --headless --frames 1 --nand "$work/nand" >"$work/out" 2>&1
if [ "$(cat "$work/out")" != "host: 1 frames" ]; then
  echo "quiet run: more than the closing line:"
  cat "$work/out"
  failures=$((failures + 1))
fi
# The dynamic loader names every object it loads: a headless run loads no SDL, a window does.
LD_DEBUG=files "$game" --headless --frames 1 --nand "$work/nand" >"$work/out" 2>&1
if grep -q "file=libSDL2" "$work/out"; then
  echo "headless run: SDL loaded"
  failures=$((failures + 1))
fi
LD_DEBUG=files SDL_VIDEODRIVER=offscreen DISPLAY=:97 "$game" --frames 1 --nand "$work/nand" \
  >"$work/out" 2>&1
if ! grep -q "file=libSDL2" "$work/out"; then
  echo "window run: SDL not loaded"
  failures=$((failures + 1))
fi
[ $failures -eq 0 ]
