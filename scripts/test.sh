#!/usr/bin/env bash
# Builds guidegate with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/build.sh "$@"
status=0
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" || status=$?
# ctest shows no output of a skipped test: repeat the reason each one gave.
log="$build_dir/Testing/Temporary/LastTest.log"
if [ -f "$log" ]; then
  awk '/^[0-9]+\/[0-9]+ Test: /{name=$3} /^SKIPPED: /{print "Skipped " name ": " substr($0, 10)}' "$log"
fi
exit $status
