#!/usr/bin/env bash
# Builds the Debian package build-pkg/vidoteq_VERSION_ARCH.deb (programs, menu entry, icon, metainfo).
#   tools/package.sh [BUILD FOLDER]   an already configured build folder is packaged as it is built
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-pkg}
tools/deps.sh package
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF -DVQ_BENCH=OFF
fi
cmake --build "$dir" -j2 --target vidoteq vidoteq-cli
(cd "$dir" && cpack -G DEB)
ls "$dir"/vidoteq_*.deb
