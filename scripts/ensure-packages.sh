#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing: those of the game
# and its data ("game", for ./play), or those and the tests' (the default, for ./test).
set -euo pipefail
packages=(
  cmake ninja-build g++ ccache pkg-config zlib1g-dev libsdl2-dev libpng-dev libvorbis-dev
  libogg-dev librsvg2-dev libfreetype-dev fonts-dejavu-core wbritish wbritish-small wordnet-base onboard-data libtinyxml-dev
  libjpeg62-turbo-dev
)
if [ "${1:-}" != game ]; then
  packages+=(clang libclang-rt-14-dev lld clang-format libgtest-dev libgmock-dev libbenchmark-dev
    libpixman-1-dev xvfb)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "missing packages: ${missing[*]}; install them as root with apt-get install" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "installing: ${missing[*]}" >&2
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "${missing[@]}" >&2
