#!/usr/bin/env bash
# Builds the fuzz targets with clang for libFuzzer (with ASan and UBSan) and runs each for a
# bounded time from the seed corpus; fails on any crash, broken invariant or sanitizer report.
#   fuzz/run_fuzzers.sh [BUILD_DIR [SECONDS]]      (build-fuzz and 60 s by default)
# A crashing input is left in BUILD_DIR/fuzz-run/TARGET/; copied to fuzz/regressions/TARGET/
# under a name that says what it broke, it becomes a regression test.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$src/build-fuzz}") seconds=${2:-60}
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DTEXMINT_WINDOWS_BUILDS=OFF -DBUILD_TESTING=OFF -DTEXMINT_LIBFUZZER=ON >"$build.log" 2>&1 ||
  { cat "$build.log" >&2; exit 1; }
cmake --build "$build" --target texmint_fuzz_scan texmint_fuzz_archive texmint_fuzz_config
export ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=0
for target in scan archive config; do
  work=$build/fuzz-run/$target seeds=("$src/fuzz/corpus/$target")
  [[ $target == scan ]] && seeds+=("$src/tests/models")  # the real models
  rm -rf "$work" && mkdir -p "$work/corpus"
  echo "== $target: fuzzing for $seconds s"
  "$build/fuzz/texmint_fuzz_$target" "$work/corpus" "${seeds[@]}" -timeout=10 \
    -dict="$src/fuzz/corpus/$target.dict" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" >"$work/fuzz.log" 2>&1 || { failed=1; tail -n 40 "$work/fuzz.log"; continue; }
  grep -E '^stat::number_of_executed_units|DONE' "$work/fuzz.log" | tail -n 2
done
exit "$failed"
