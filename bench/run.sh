#!/usr/bin/env bash
# Measures guidegate against two floors of a run, loading the results file with
# tinyxml2 (bench/parse_only.cpp) and parsing it as a stream with libexpat
# (bench/parse_expat.cpp), on generated inputs of 10,000, 100,000 and 1,000,000
# findings over N/50 files (5,000,000 on request: SIZES="1000000 5000000"), for MISRA C
# 2023 and CERT C++ with --files=. Prints a table of median wall times and peak memory
# and their ratios.
#
#   bench/run.sh              # from a fresh clone; about 5 minutes on 2 cores, plus
#                             # a minute to build and generate the inputs the first time
#   RUNS=3 SIZES="10000 100000" bench/run.sh
#   RUNS=3 SIZES="1000000 5000000" TINYXML2_UP_TO=1000000 bench/run.sh  # no 9 GB tinyxml2 floor
#
# RUNS is the least number of measured rounds per size (default 5); smaller sizes get
# more, up to a minute each. Builds a Release binary in build-bench; the generated
# inputs (about 0.6 GB for 1,000,000 findings, 3 GB for 5,000,000) stay in build-bench/inputs and are made
# again only when the generator or the built-in tables change.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
runs="${RUNS:-5}"
sizes="${SIZES:-10000 100000 1000000}"

"$root/scripts/ensure-packages.sh" python3
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGUIDEGATE_BENCH=ON -DGUIDEGATE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target guidegate parse_only parse_expat >/dev/null

# The inputs depend on the generator and on the tables it takes its ids from.
stamp="$(cat "$root/bench/generate.py" "$root"/src/catalogues/*.cpp | md5sum | cut -d' ' -f1)"
for n in $sizes; do
  inputs="$build/inputs/n$n"
  if [ "$(cat "$inputs/stamp" 2>/dev/null)" != "$stamp" ]; then
    echo "generating $n findings over $((n / 50)) files" >&2
    rm -rf "$inputs"
    python3 "$root/bench/generate.py" --findings "$n" --files "$((n / 50))" --seed "$n" --out "$inputs"
    echo "$stamp" >"$inputs/stamp"
  fi
done

echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), $(free -g | awk '/^Mem:/ {print $2}') GiB; $(date -u +%Y-%m-%d)"
# shellcheck disable=SC2086  # the sizes are separate arguments
python3 "$root/bench/measure.py" --build "$build" --inputs "$build/inputs" --runs "$runs" \
  ${TINYXML2_UP_TO:+--tinyxml2-up-to "$TINYXML2_UP_TO"} $sizes
