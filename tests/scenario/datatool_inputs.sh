#!/usr/bin/env bash
# datatool refuses bad inputs with a message and a non-zero exit code, never a crash, and
# every subcommand explains itself with --help.
set -u
datatool=$1
inputs=$(cd "$(dirname "$0")/inputs" && pwd)
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
  if [ $status -ne "$want" ] || ! grep -qE "$pattern" "$work/out"; then
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
expect 0 "^  datatool bank OUT.KSB" bank --help
expect 0 "^  datatool dump FILE" dump --help
expect 0 "^usage: datatool" --help
expect 2 "unknown command 'melt'" melt
[ $failures -eq 0 ]
