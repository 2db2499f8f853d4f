#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 60) each, one after the other, from its seeds in
# fuzz/corpus/<target> plus what earlier runs found (build-fuzz/corpus/<target>). An input that crashes,
# hangs, leaks or trips a sanitizer is kept in build-fuzz/findings/<target>/ and fails the run.
# Usage: fuzz/run.sh [target...]   (names as in fuzz/corpus, e.g. profile_file input_old)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
build=build-fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=()
printf '%-18s %12s %10s  %s\n' target executions exec/s result
for target in "${targets[@]}"; do
  binary="$build/bin/${target}_fuzz"
  if [ ! -x "$binary" ]; then
    echo "no fuzz target $binary" >&2
    exit 2
  fi
  mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/logs"
  log="$build/logs/$target.log"
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target/" "$build/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1 &
  pid=$!
  wait $pid
  status=$?
  # The target's scratch folder (fuzz/fuzz_support.h).
  rm -rf "/dev/shm/nodra-fuzz-$pid" "${TMPDIR:-/tmp}/nodra-fuzz-$pid"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  result=ok
  if [ $status -ne 0 ]; then
    result="FAILED (exit $status, see $log)"
    failed+=("$target")
  fi
  printf '%-18s %12s %10s  %s\n' "$target" "${runs:-?}" "${rate:-?}" "$result"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "findings: ${failed[*]} (inputs in $build/findings/)" >&2
  exit 1
fi
