#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format ccache
  libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev libpng-dev
  wbritish wordnet-base zlib1g-dev pkg-config librsvg2-dev fonts-dejavu-core libfreetype-dev
  libpixman-1-dev libvorbis-dev libogg-dev libtinyxml-dev libjpeg62-turbo-dev
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
