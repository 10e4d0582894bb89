#!/usr/bin/env bash
# Builds the fuzz targets with clang for libFuzzer, with AddressSanitizer and UBSan, and
# runs each one for a bounded time from the seed corpus. Fails on any crash, broken
# invariant, sanitizer report, leak or hang.
#
#   fuzz/run_fuzzers.sh [--build-dir DIR] [--seconds N] [TARGET...]
#
# DIR defaults to build-fuzz in the source tree, N to 60, the targets to all of them.
# New inputs go to DIR/fuzz-run/TARGET/corpus, crashing ones to DIR/fuzz-run/TARGET/.
# A crash becomes a regression test by copying its input, under a name that says what it
# broke, to fuzz/regressions/TARGET/.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build="$src/build-fuzz"
seconds=60
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    -*) echo "run_fuzzers: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(scan naming)

for tool in clang clang++; do
  command -v "$tool" >/dev/null || { echo "run_fuzzers: $tool not found" >&2; exit 1; }
done

# Sanitizers and coverage for everything compiled; the fuzz targets add the libFuzzer
# main at link time.
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DTEXMINT_SANITIZE=ON -DTEXMINT_WINDOWS_BUILDS=OFF -DBUILD_TESTING=OFF \
  -DTEXMINT_LIBFUZZER=ON >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log" >&2; exit 1; }
cmake --build "$build" --target "${targets[@]/#/texmint_fuzz_}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for target in "${targets[@]}"; do
  work="$build/fuzz-run/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  log="$work/fuzz.log"
  dict=()
  [ -f "$src/fuzz/$target.dict" ] && dict=(-dict="$src/fuzz/$target.dict")

  echo "== $target: fuzzing for $seconds s"
  status=0
  # The first folder receives new inputs; the seeds in the repository are only read.
  "$build/fuzz/texmint_fuzz_$target" "$work/corpus" "$src/fuzz/corpus/$target" \
    "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/" >"$log" 2>&1 || status=$?

  # The final coverage line and the totals.
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true

  if [ "$status" != 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant broken' "$log"; then
    failed=1
    echo "== $target: FAILED (exit status $status); end of $log:"
    tail -n 60 "$log"
    ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null || true
  else
    echo "== $target: no crash, no sanitizer report"
  fi
done
exit "$failed"
