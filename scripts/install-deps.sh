#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need (only what is missing).
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  juce-modules-source
  libasound2-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxcomposite-dev
  libfreetype-dev libfontconfig1-dev fonts-dejavu-core fonts-liberation
  libpng-dev libjpeg-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev
  xvfb xauth libxtst-dev
  clang libclang-rt-14-dev locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The validator runs once in a locale whose decimal separator is ",".
if ! locale -a | grep -qi '^de_DE.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
