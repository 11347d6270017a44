#!/usr/bin/env bash
# Builds guidegate with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh "$@"
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
