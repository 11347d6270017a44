#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz, then runs each for FUZZ_SECONDS
# (default 60) on a working copy of its seed corpus fuzz/corpus/<target>.
# An input that crashes a target is kept in build-fuzz/artifacts/<target>/ and the
# script fails; otherwise it prints the executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
targets=(results_reader checkers_report files_list whole_run)

scripts/ensure-packages.sh clang
cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGUIDEGATE_FUZZ=ON -DGUIDEGATE_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}"

# The fuzz inputs are written to files for the readers that take a path: keep them in memory.
if [ -w /dev/shm ]; then scratch=$(mktemp -d -p /dev/shm); else scratch=$(mktemp -d); fi
trap 'rm -rf "$scratch"' EXIT
export GUIDEGATE_FUZZ_SCRATCH=$scratch
export ASAN_OPTIONS=${FUZZ_ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
summary=()
for target in "${targets[@]}"; do
  corpus=$build_dir/corpus/$target
  artifacts=$build_dir/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  cp -n fuzz/corpus/"$target"/* "$corpus"/
  log=$build_dir/$target.log
  echo "== Fuzzing $target for ${seconds}s =="
  if "$build_dir/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=20 -rss_limit_mb=4096 \
      -dict=fuzz/results.dict -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$target: $result, ${executions:-?} executions in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs")
done

printf '%s\n' "${summary[@]}"
exit $status
