#!/usr/bin/env bash
# Builds guidegate and writes a MISRA C 2012 report from the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p build/example
status=0
build/guidegate --misra-c-2012 \
  --checkers-report=examples/checkers-report.txt \
  --files=examples/files.md5 \
  --project-name="Example" --project-version="1.0" \
  --output-file=build/example/misra-c-2012-compliance-report.html \
  examples/results.xml || status=$?
echo "Report written to $(pwd)/build/example/misra-c-2012-compliance-report.html (exit status $status:" \
  "$([ $status -eq 0 ] && echo compliant || echo non-compliant))"
