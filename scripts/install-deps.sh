#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with.
set -euo pipefail
packages=(
  build-essential cmake g++-multilib clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  zlib1g-dev libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation fontconfig poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
