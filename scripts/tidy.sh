#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of src/, as
# BUILD_DIR/compile_commands.json (default build/) says it is compiled; any finding
# fails the script. Extra arguments go to clang-tidy (for instance --fix).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

scripts/ensure-packages.sh clang-tidy
tidy=$(command -v clang-tidy || command -v clang-tidy-14)

# Configuring writes compile_commands.json; nothing needs to be built first.
cmake -S . -B "$build_dir" >/dev/null

mapfile -t sources < <(git ls-files --cached --others --exclude-standard 'src/*.cpp')
echo "clang-tidy: ${#sources[@]} files of src/ ($("$tidy" --version | grep -o 'version [0-9.]*'))"
# The build may have been configured for GCC: let clang ignore the warning options it lacks.
# The counts of warnings clang-tidy suppressed in system headers are left out of the log.
status=0
printf '%s\0' "${sources[@]}" |
  xargs -0 -n 4 -P "${TIDY_JOBS:-2}" "$tidy" -p "$build_dir" --quiet --warnings-as-errors='*' \
    --extra-arg=-Wno-unknown-warning-option "$@" 2>&1 |
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || status=${PIPESTATUS[1]}
if [ "$status" -ne 0 ]; then
  echo "clang-tidy: findings above (fix them, or turn a noisy check off in .clang-tidy saying why)" >&2
  exit 1
fi
echo "clang-tidy: no findings"
