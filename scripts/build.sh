#!/usr/bin/env bash
# Configures and builds guidegate into BUILD_DIR (default: build), with any extra
# CMake arguments given. BUILD_TARGET=NAME builds only that target (and what it needs).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/ensure-packages.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
