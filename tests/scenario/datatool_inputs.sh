#!/usr/bin/env bash
# datatool refuses bad inputs with a message and a non-zero exit code, never a crash, and
# says what it expected and what it found; every subcommand explains itself with --help,
# and its usage, followed as it stands, works. Takes the tool and the built disc.
set -u
datatool=$1
disc=$2
inputs=$(cd "$(dirname "$0")/inputs" && pwd)
data=$(cd "$(dirname "$0")/../../data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '<svg xmlns="http://www.w3.org/2000/svg" width="100000" height="100000"/>' >"$work/huge.svg"
failures=0

# expect STATUS PATTERN ARGUMENT...: the exit status and a line of the output.
expect() {
  local want=$1 pattern=$2
  shift 2
  "$datatool" "$@" >"$work/out" 2>&1
  local status=$?
  if [ $status -ne "$want" ] || ! grep -qE -- "$pattern" "$work/out"; then
    echo "datatool $*: exit code $status (want $want), no line matching '$pattern' in:"
    head -c 2000 "$work/out"
    failures=$((failures + 1))
  fi
}

expect 1 "'$work' is not a file" dump "$work"
expect 1 "'/dev/zero' is not a file" dump /dev/zero
expect 1 "'/dev/zero' is not a file" text /dev/zero "$work/out.txz"
expect 1 "'$work' is not a file" bank "$work/out.KSB" "@$work"
expect 1 "larger than 8192 pixels" bank "$work/out.KSB" --sprite big "$inputs/huge_header.png"
expect 1 "larger than 8192 pixels" bank "$work/out.KSB" --sprite big "$work/huge.svg"
expect 1 "hot spot 'h' \(5, 0\) lies outside its 4 x 4 frame" bank "$work/out.KSB" --sprite s \
  --hotspot h 5 0 "$inputs/four_by_four.png"
# Bad arguments of each command, exit code 2, before any input is read.
expect 2 "the page size must be a power of two" bank "$work/out.KSB" --page-size 3 --sprite s x.png
expect 2 "sprite 's' has no frame" bank "$work/out.KSB" --sprite s
expect 2 "the pixel size must be from 1 to 256" font "$work/out.KSB" --sprite s
expect 2 "unknown option '--bold'" font "$work/out.KSB" --bold
expect 2 "--style takes a whole number from 0 to 4, not '2x'" movie "$work/out.thp" --style 2x \
  --seconds 3
expect 2 "unknown option '--fps'" movie "$work/out.thp" --fps 25
expect 0 "^  datatool bank OUT.KSB" bank --help
expect 0 "^  datatool dump FILE \[ID\] \[--block-size N\]" dump --help
expect 0 "^usage: datatool" --help
expect 2 "unknown command 'melt'" melt
expect 1 "'$inputs/four_by_four.png' is no file dump reads: expected a sound file .*; found a PNG \
picture" dump "$inputs/four_by_four.png"
expect 2 "^datatool: no puzzle 99999 in the bank: expected one of its [0-9]+ ids, from 1 to" \
  dump "$disc/wii/puz_uken.kmn" 99999
expect 2 "expected a puzzle id \(a whole number\), found '7x'" dump "$disc/wii/puz_uken.kmn" 7x
# A file of each kind dump reads, cut short, is called truncated: FILE BYTES, a file of the
# disc or one written here.
printf 'RIFF\x24\x01\x00\x00WAVEfmt ' >"$work/cut.wav"
printf 'NBNR\x00\x00\x00\x00' >"$work/banner.bin"
head -c 100 /dev/zero >"$work/save.dat"
mkdir "$work/cut"
while read -r file bytes; do
  head -c "$bytes" "$file" >"$work/cut/$(basename "$file")"
  expect 1 "truncated" dump "$work/cut/$(basename "$file")"
done <<EOF
$disc/wii/puz_uken.kmn 4
$disc/wii/puz_uken.kmn 200
$disc/wii/fe.KSB 1000
$disc/wii/uk_english.txz 3
$disc/wii/uk_english.txz 200
$disc/wii/movies/logo_audio.thp 40
$disc/wii/movies/logo_audio.thp 5000
$disc/wii/audio/back.dsp 50
$disc/wii/audio/back.dsp 500
$work/cut.wav 16
$work/banner.bin 8
$work/save.dat 100
EOF

# The content rules' options and their files under data/puzzles/; all of them, in order.
rules=(--exclude excluded_words.txt --blocklist blocked_words.txt
  --spellings british_spellings.txt --sensitive sensitive_words.txt --clues clues.txt)
all_files=(puzzles "$work/bank.kmn")
for ((i = 0; i < ${#rules[@]}; i += 2)); do
  all_files+=("${rules[i]}" "$data/puzzles/${rules[i + 1]}")
done
# The puzzles usage of `datatool --help` followed as it stands: each FILE option it lists
# outside brackets given its file, and an empty plan.
usage=$("$datatool" --help | grep '^  datatool puzzles ' | sed 's/\[[^]]*\]//g')
followed=(puzzles "$work/bank.kmn" --mini 0 --per-difficulty 0)
for option in $(grep -oE -- '--[a-z-]+ FILE' <<<"$usage" | cut -d ' ' -f 1); do
  file=missing
  for ((i = 0; i < ${#rules[@]}; i += 2)); do
    [ "${rules[i]}" = "$option" ] && file=${rules[i + 1]}
  done
  followed+=("$option" "$data/puzzles/$file")
done
expect 0 "bank.kmn: 0 puzzles" "${followed[@]}"
expect 2 "^datatool puzzles: the bank would be full: it holds at most 1536 puzzles, .* make 2600" \
  "${all_files[@]}" --per-difficulty 200
expect 2 "^datatool puzzles: --clues FILE is required" "${all_files[@]:0:10}"
expect 2 "^datatool puzzles: --mini takes a whole number from 0 to 1536, not 'x'" \
  "${all_files[@]}" --mini x
expect 2 "^datatool puzzles: unknown option '--bogus'" puzzles --bogus
# A list that is no list (empty, or a picture) is refused by file and line, for every list
# option, and no bank is written.
: >"$work/empty.txt"
for option in --exclude --blocklist --spellings --sensitive --clues --everyday --words; do
  for list in "$work/empty.txt" "$inputs/four_by_four.png"; do
    rm -f "$work/bank.kmn"
    expect 2 "^datatool: $list(: no entries; each line|:1: a byte 0x89 that is not UTF-8)" \
      "${all_files[@]}" --mini 0 --per-difficulty 0 "$option" "$list"
    if [ -e "$work/bank.kmn" ]; then
      echo "datatool puzzles $option $list: wrote a bank"
      failures=$((failures + 1))
    fi
  done
done
# --quiet leaves standard output to the errors: nothing for a build's log.
"$datatool" --quiet synth "$data/sounds/effects.txt" "$work" >"$work/out" 2>&1
if [ $? -ne 0 ] || [ -s "$work/out" ]; then
  echo "datatool --quiet synth: not silent, or failed:"
  head -c 2000 "$work/out"
  failures=$((failures + 1))
fi
[ $failures -eq 0 ]
