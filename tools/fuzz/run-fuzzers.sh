#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang; configured only the
# first time, then rebuilt incrementally) and runs each for a while on a
# copy of its seeds, so the repository is never written to. Fails if any
# target crashes or breaks a property; the input that did it is kept under
# build-fuzz/artifacts/<target>/.
#   tools/fuzz/run-fuzzers.sh [SECONDS] [TARGET...]
# SECONDS is per target (default 30); targets run side by side, one per core
# or VEXA_FUZZ_JOBS at a time.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-30}
[ $# -gt 0 ] && shift
build=$root/build-fuzz
corpus=$root/tests/fuzz-corpus

if [ ! -f "$build/build.ninja" ]; then
  # Debug keeps Qt's own checks (QList bounds and the like) in the inlined
  # code; -O1 and line tables only keep the build short and the stacks
  # readable.
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DVEXA_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" >/dev/null
fi
cmake --build "$build" --target vexa_fuzzers

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for dir in "$corpus"/fuzz_*/; do
    targets+=("$(basename "$dir")")
  done
fi
for t in "${targets[@]}"; do
  [ -x "$build/fuzz/$t" ] || { echo "no fuzz target $t in $build/fuzz" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_one() {
  local t=$1 dir=$work/$1
  mkdir -p "$dir/corpus" "$dir/artifacts"
  [ -d "$corpus/$t" ] && cp "$corpus/$t"/* "$dir/corpus/" 2>/dev/null || true
  "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "$dir/corpus" >"$dir/log" 2>&1
}

jobs=${VEXA_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}
declare -A pid_of
failed=()
finish() {
  local t=$1
  if wait "${pid_of[$t]}"; then
    echo "  $t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/$t/log" | grep -o '[0-9]*$') runs, no crash"
  else
    failed+=("$t")
    echo "  $t: FAILED"
    tail -n 60 "$work/$t/log"
    mkdir -p "$build/artifacts/$t"
    cp "$work/$t/artifacts"/* "$build/artifacts/$t/" 2>/dev/null || true
    echo "  the input is kept in $build/artifacts/$t/"
  fi
}

echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
running=()
for t in "${targets[@]}"; do
  if [ ${#running[@]} -ge "$jobs" ]; then
    finish "${running[0]}"
    running=("${running[@]:1}")
  fi
  run_one "$t" &
  pid_of[$t]=$!
  running+=("$t")
done
for t in "${running[@]}"; do
  finish "$t"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "Fuzzing passed"
