#!/usr/bin/env bash
# Installs what is missing, builds Vidoteq (the program only) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQ_TESTS=OFF -DVQ_BENCH=OFF
cmake --build build -j2 --target vidoteq vidoteq-cli
exec build/vidoteq "$@"
