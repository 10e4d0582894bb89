#!/usr/bin/env bash
# Runs the bench's scan cases in both Windows builds in turns under one Wine, and prints each
# build's fastest figures over N rounds (default 3) and the 32-bit build's scan against the
# 64-bit one's. A build that cannot run here is named and left out (with --only: exit status 77).
#   compare-windows-scan.sh [--build-dir DIR] [--prefix DIR] [--rounds N] [--smoke] [--only ARCH]
# DIR (default build) holds windows-ARCH/bench/texmint_bench.exe, ARCH i686 or x86_64; the prefix
# defaults to DIR/wine-prefix. --smoke: one run on small images, not a measurement.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$src/build prefix= rounds=3 smoke= only= skipped= status=0 arches=(x86_64 i686)
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build=$2 ;;
    --prefix) prefix=$2 ;;
    --rounds) rounds=$2 ;;
    --only) only=$2 arches=("$2") ;;
    --smoke) smoke=--smoke rounds=1; shift; continue ;;
    *) sed -n '2,7p' "$0" >&2; exit 2 ;;
  esac
  shift 2
done
wine_run=$src/scripts/wine-run.sh prefix=${prefix:-$build/wine-prefix} out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
bash "$wine_run" setup "$prefix" >&2

for ((round = 1; round <= rounds; round++)); do
  for arch in "${arches[@]}"; do
    [[ $skipped != *$arch* ]] || continue
    rc=0 exe=$build/windows-$arch/bench/texmint_bench.exe
    bash "$wine_run" run "$prefix" --need-win$([ "$arch" = i686 ] && echo 32 || echo 64) \
      --timeout 900 "$exe" --only scan $smoke 2>"$out/err" | tr -d '\r' >"$out/run" || rc=$?
    if [ "$rc" = 77 ]; then
      echo "$arch build not run: $(tail -n1 "$out/run")"
      skipped+=" $arch"
      [ -z "$only" ] || status=77
    elif [ "$rc" != 0 ]; then
      echo "compare-windows-scan: the $arch build failed (exit status $rc):" >&2
      cat "$out/run" "$out/err" >&2
      exit 1
    else
      echo "# round $round of $rounds, $arch: $(grep '^# scan' "$out/run")" >&2
      awk -F'\t' -v a="$arch" '$1 == "scan" { print a, $2 "_" $3, $4, $5, $6 }' "$out/run" >>"$out/results"
    fi
  done
done

[ ! -s "$out/results" ] || awk '
  function v(key) { return key in best ? best[key] : "-" }
  !seen[$2]++ { order[++cases] = $2 }
  { for (i = 3; i <= 5; i++) if (!(($1 $2 i) in best) || $i < best[$1 $2 i]) best[$1 $2 i] = $i }
  END {
    print "microseconds per pass, fastest of the rounds; scan: the build'"'"'s own search; bytes: byte search"
    f = "%-18s| %9s %9s %9s | %9s %9s %9s | %7s\n"
    printf f, "case", "x64 scan", "x64 bytes", "x64 mchr", "x86 scan", "x86 bytes", "x86 mchr", "x86/x64"
    for (c = 1; c <= cases; c++) {
      k = order[c]; x = v("x86_64" k 3); y = v("i686" k 3)
      printf f, k, x, v("x86_64" k 4), v("x86_64" k 5), y, v("i686" k 4), v("i686" k 5),
        (x != "-" && y != "-") ? sprintf("%.2fx", y / x) : "-"
    }
  }' "$out/results"
exit "$status"
