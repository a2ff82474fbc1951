#!/usr/bin/env bash
# Installs every Debian package that the build, the data and the tests need, when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev libjpeg-dev
  scowl wordnet-base
  fonts-liberation
  clang libclang-rt-dev
  xvfb xauth imagemagick xdotool
  poppler-utils
  desktop-file-utils shared-mime-info dpkg-dev
  file libreoffice-draw-nogui
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
