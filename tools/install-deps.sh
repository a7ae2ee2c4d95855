#!/usr/bin/env bash
# Installs the Debian packages the project needs; skips what is already installed.
#   tools/install-deps.sh [package]   also what the package stage needs
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite qt6-translations-l10n
  libgtest-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth fonts-dejavu-core
)
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev file lintian appstream desktop-file-utils man-db)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq "${missing[@]}"
