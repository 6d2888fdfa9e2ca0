#!/usr/bin/env bash
# Configures one of the build trees when it is not configured yet:
#   release  build/       g++, optimised
#   asan     build-asan/  clang, address and undefined-behaviour sanitizers, fuzzers
#   tsan     build-tsan/  clang, thread sanitizer (not built by ./test)
# With "game" as second argument a new tree leaves out the tests, benchmarks and fuzz
# targets (./play); without it a tree configured so gets them back (./test).
# Prints the tree's folder alone; cmake's own output is shown only when it fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "$1" in
  release)
    dir="$root/build"
    args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++)
    ;;
  asan)
    dir="$root/build-asan"
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
      -DPUZZLES_SANITIZE=ON)
    ;;
  tsan)
    dir="$root/build-tsan"
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
      -DPUZZLES_TSAN=ON)
    ;;
  *)
    echo "usage: $0 release|asan|tsan [game]" >&2
    exit 2
    ;;
esac
configure() {
  local log
  log=$(mktemp)
  if ! cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "configure.sh: cmake could not configure $dir (see above)" >&2
    exit 1
  fi
  rm -f "$log"
}
if [ "${2:-}" = game ]; then
  if [ ! -f "$dir/build.ninja" ]; then
    configure -DPUZZLES_TESTS=OFF
  fi
elif [ ! -f "$dir/build.ninja" ] || grep -q "^PUZZLES_TESTS:BOOL=OFF" "$dir/CMakeCache.txt"; then
  configure -DPUZZLES_TESTS=ON
fi
echo "$dir"
