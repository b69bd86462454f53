#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQ_TESTS=ON -DVQ_BENCH=ON "$@"
cmake --build build -j2
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j1
