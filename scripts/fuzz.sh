#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz, then runs each for FUZZ_SECONDS
# (default 60; FUZZ_SECONDS_<target>, e.g. FUZZ_SECONDS_run=300, for one target)
# on a working copy of its seed corpus fuzz/corpus/<target>. FUZZ_TARGETS="a b"
# runs only those targets. After the short-input runs, the whole run is fuzzed once
# more with inputs of up to 1 MiB and a per-input limit of FUZZ_LARGE_TIMEOUT
# seconds (default 10), which catches inputs that cost more than linear time; its
# time is FUZZ_SECONDS_large (default: FUZZ_SECONDS).
# An input that crashes a target or runs past its limit is kept in
# build-fuzz/artifacts/<target>/ and the script fails; otherwise it prints the
# executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
all_targets=(results_reader results_stream checkers_report baseline_reader files_list recategorization_plan whole_run command_line run)
read -r -a targets <<<"${FUZZ_TARGETS:-${all_targets[*]}}"

scripts/fuzz-build.sh "$build_dir" "${targets[@]}"

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
  limit_name=FUZZ_SECONDS_$target
  target_seconds=${!limit_name:-$seconds}
  echo "== Fuzzing $target for ${target_seconds}s =="
  if "$build_dir/fuzz/${target}_fuzzer" -max_total_time="$target_seconds" -max_len=16384 -timeout=20 -rss_limit_mb=4096 \
      -dict=fuzz/results.dict -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$target: $result, ${executions:-?} executions in ${target_seconds}s, corpus $(ls "$corpus" | wc -l) inputs")
done

# Large inputs through the whole run, each bounded in time: a super-linear step shows
# as a timeout. Seeded from the run corpus; new inputs are not kept.
if [[ " ${targets[*]} " == *" run "* ]]; then
  large_seconds=${FUZZ_SECONDS_large:-$seconds}
  artifacts=$build_dir/artifacts/run-large
  mkdir -p "$artifacts"
  log=$build_dir/run-large.log
  echo "== Fuzzing run with inputs up to 1 MiB for ${large_seconds}s =="
  if "$build_dir/fuzz/run_fuzzer" -max_total_time="$large_seconds" -max_len=1048576 \
      -timeout="${FUZZ_LARGE_TIMEOUT:-10}" -rss_limit_mb=4096 -len_control=0 -dict=fuzz/results.dict \
      -print_final_stats=1 -artifact_prefix="$artifacts/" "$build_dir/corpus/run" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("run (large inputs): $result, ${executions:-?} executions in ${large_seconds}s")
fi

printf '%s\n' "${summary[@]}"
exit $status
