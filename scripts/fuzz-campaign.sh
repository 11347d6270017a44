#!/usr/bin/env bash
# A long fuzzing campaign, outside CI: runs each target of fuzz/ (built by
# scripts/fuzz.sh's configuration, with AddressSanitizer and UndefinedBehaviorSanitizer)
# for a number of executions, then merges what it found into the kept corpus
# fuzz/corpus/<target>, minimized with libFuzzer's -merge=1, so that CI's short runs
# start from it.
#
#   scripts/fuzz-campaign.sh                      # every reader 10,000,000 times, the whole run 1,000,000
#   scripts/fuzz-campaign.sh files_list=2000000   # only the targets named, each as often as given
#   scripts/fuzz-campaign.sh files_list=1000000 files_list=1000000   # a target named twice runs
#                                                 # twice side by side, on one shared corpus
#
# CAMPAIGN_DIR (default build-fuzz/campaign) keeps the working corpora, logs and any
# crashing input (artifacts/<target>/); a second campaign in the same directory goes
# on from the first one's corpus. CAMPAIGN_MINUTES (default 1440, a day) bounds each
# run: one that reaches it stops there, and its summary line says so.
# CAMPAIGN_JOBS (default: the number of processors) targets run side by side.
# CAMPAIGN_TIMEOUT (default 20) is the seconds one input may take before it counts as a
# hang. libFuzzer measures it on the clock, so a fuzzer starved by other work on a shared
# machine (a build, a benchmark) can pass it with an input that is not slow: raise it there.
# The script fails when a target crashed or ran past its limit; it prints the
# executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
campaign=${CAMPAIGN_DIR:-$build_dir/campaign}
seconds=$(( ${CAMPAIGN_MINUTES:-1440} * 60 ))
jobs=${CAMPAIGN_JOBS:-$(nproc)}
timeout=${CAMPAIGN_TIMEOUT:-20}

plan=("$@")
if [ ${#plan[@]} -eq 0 ]; then
  plan=(results_reader=10000000 results_stream=10000000 checkers_report=10000000 files_list=10000000
        baseline_reader=10000000 recategorization_plan=10000000 whole_run=1000000)
fi
targets=()
for entry in "${plan[@]}"; do
  case $entry in
    *=*[!0-9]* | *= | =*) echo "usage: $0 [target=executions]..." >&2; exit 2 ;;
    *=*) case " ${targets[*]} " in *" ${entry%%=*} "*) ;; *) targets+=("${entry%%=*}") ;; esac ;;
    *) echo "usage: $0 [target=executions]..." >&2; exit 2 ;;
  esac
done

scripts/fuzz-build.sh "$build_dir" "${targets[@]}"

if [ -w /dev/shm ]; then scratch=$(mktemp -d -p /dev/shm); else scratch=$(mktemp -d); fi
# Interrupted, the campaign stops its fuzzers (each prints its figures to its log) before
# it removes their scratch files, and merges nothing.
interrupted() {
  trap - INT TERM
  for pid_file in "$scratch"/*.pid; do [ -e "$pid_file" ] && kill -TERM "$(cat "$pid_file")" 2>/dev/null; done
  wait
  echo "interrupted: the logs in $campaign give each run's executions; nothing was merged" >&2
  exit 130
}
trap 'rm -rf "$scratch"' EXIT
trap interrupted INT TERM
export ASAN_OPTIONS=${FUZZ_ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:malloc_context_size=0}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$campaign"

# Runs one entry of the plan, a target to its executions; writes its line of the summary
# to the entry's .result file. Runs of one target share its corpus: libFuzzer reloads it.
fuzz_one() {
  local target=$1 runs=$2 entry=$3
  local corpus=$campaign/corpus/$target artifacts=$campaign/artifacts/$target
  local log=$campaign/$target.$entry.log
  mkdir -p "$artifacts" "$scratch/$target.$entry"
  local result=ok
  GUIDEGATE_FUZZ_SCRATCH=$scratch/$target.$entry "$build_dir/fuzz/${target}_fuzzer" -runs="$runs" \
    -max_total_time="$seconds" -max_len=16384 -timeout="$timeout" -rss_limit_mb=4096 -dict=fuzz/results.dict \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 &
  echo $! >"$scratch/$target.$entry.pid"
  wait $! || result=FAILED
  local executions
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $result = ok ] && [ "${executions:-0}" -lt "$runs" ]; then result="ok, stopped after $((seconds / 60)) minutes"; fi
  echo "$target: $result, ${executions:-?} executions, corpus $(ls "$corpus" | wc -l) inputs" >"$campaign/$target.$entry.result"
}

rm -f "$campaign"/*.result
for target in "${targets[@]}"; do
  mkdir -p "$campaign/corpus/$target"
  cp -n fuzz/corpus/"$target"/* "$campaign/corpus/$target"/
done
for entry in "${!plan[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  fuzz_one "${plan[entry]%%=*}" "${plan[entry]#*=}" "$entry" &
done
wait

# The kept corpus becomes the smallest set of inputs that covers what the kept and the
# campaign's corpora cover together.
status=0
for target in "${targets[@]}"; do
  failed=no
  for result in "$campaign/$target".*.result; do
    cat "$result"
    case $(cat "$result") in *FAILED*) failed=yes; tail -n 40 "${result%.result}.log" || true ;; esac
  done
  if [ $failed = yes ]; then status=1; continue; fi
  merged=$campaign/merged/$target
  rm -rf "$merged" && mkdir -p "$merged"
  GUIDEGATE_FUZZ_SCRATCH=$scratch/$target "$build_dir/fuzz/${target}_fuzzer" -merge=1 -max_len=16384 \
    -timeout="$timeout" -rss_limit_mb=4096 "$merged" fuzz/corpus/"$target" "$campaign/corpus/$target" \
    >"$campaign/$target.merge.log" 2>&1
  rm -rf fuzz/corpus/"$target" && cp -r "$merged" fuzz/corpus/"$target"
  echo "  fuzz/corpus/$target: $(ls fuzz/corpus/"$target" | wc -l) inputs after merging"
done
exit $status
