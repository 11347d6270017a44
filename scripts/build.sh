#!/usr/bin/env bash
# Configures and builds guidegate into BUILD_DIR (default: build), with any extra
# CMake arguments given.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/ensure-packages.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
