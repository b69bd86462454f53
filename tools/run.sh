#!/usr/bin/env bash
# Installs what is missing, builds Vidoteq and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target vidoteq vidoteq-cli
exec build/vidoteq "$@"
