#!/usr/bin/env bash
# Builds the guidegate binary alone, as a Release build (-O1) without debug information in
# build-example (scripts/test.sh builds the tests in build), and writes a
# MISRA C 2012 report from the bundled example. The example is non compliant on
# purpose: it shows a violation, an accepted violation, a suppressed id and the Files
# section, so the run ends with exit status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
# -O1: the report takes milliseconds either way, and the build is a sixth faster.
BUILD_DIR=build-example BUILD_TARGET=guidegate scripts/build.sh -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" -DGUIDEGATE_TESTS=OFF
mkdir -p build/example
status=0
build-example/guidegate --misra-c-2012 \
  --checkers-report=examples/checkers-report.txt \
  --files=examples/files.md5 \
  --project-name="Example" --project-version="1.0" \
  --output-file=build/example/misra-c-2012-compliance-report.html \
  examples/results.xml || status=$?
if [ $status -eq 1 ]; then
  verdict="non-compliant, as the example is on purpose: see README.md, \"What the example shows\""
elif [ $status -eq 0 ]; then
  verdict="compliant, although the example is non compliant on purpose: the build is wrong"
else
  verdict="unexpected"
fi
echo "Report written to $(pwd)/build/example/misra-c-2012-compliance-report.html (exit status $status: $verdict)"
