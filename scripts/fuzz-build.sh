#!/usr/bin/env bash
# Builds the named libFuzzer targets of fuzz/ (e.g. results_reader) with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into the build directory given first.
# Used by scripts/fuzz.sh and scripts/fuzz-campaign.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$1
shift
scripts/ensure-packages.sh clang
cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGUIDEGATE_FUZZ=ON -DGUIDEGATE_TESTS=OFF >/dev/null
targets=("$@")
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}"
