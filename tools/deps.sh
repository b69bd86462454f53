#!/usr/bin/env bash
# Installs the Debian packages Vidoteq builds, runs and tests with (what is missing only).
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libsqlite3-dev libmediainfo-dev libxlsxwriter-dev
          libgtest-dev ffmpeg unzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
