#!/usr/bin/env bash
# Runs the scan timing program of both Windows builds side by side under one Wine and
# prints the 32-bit build's times against the 64-bit build's.
#
#   bench/compare-windows-scan.sh [--build-dir DIR] [--prefix DIR] [--rounds N] [--smoke]
#                                 [--only i686|x86_64]
#
# DIR is the build folder (default build; the programs are DIR/windows-ARCH/bench/
# texmint_scan_timing.exe), the prefix defaults to DIR/wine-prefix. The two builds take
# turns, N rounds (default 3); each run reports its fastest sample of each case, and the
# figure printed is the median of those over the rounds. Each build is timed with the
# search it chooses itself and with the byte search it uses on processors without SSE2.
# Where one build cannot run (no 32-bit support in the kernel or in Wine) the other's
# figures are still printed. --smoke runs each build once on small images, only to show
# that they run; with --only the exit status is 77 when that build cannot run here.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$src/build
prefix=
rounds=3
smoke=0
only=
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --smoke) smoke=1; rounds=1; shift ;;
    --only) only=$2; shift 2 ;;
    *) sed -n '4,15p' "$0" >&2; exit 2 ;;
  esac
done
[ -n "$prefix" ] || prefix=$build/wine-prefix
arches=(x86_64 i686)
[ -z "$only" ] || arches=("$only")

wine_run=$src/scripts/wine-run.sh
bash "$wine_run" setup "$prefix" >&2

program() { echo "$build/windows-$1/bench/texmint_scan_timing.exe"; }
for arch in "${arches[@]}"; do
  [ -f "$(program "$arch")" ] || { echo "compare-windows-scan: $(program "$arch") is missing" >&2; exit 1; }
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# One run of one build; its RESULT lines, tagged with the build, go to $out/results.
declare -A unavailable=()
run_build() {
  local arch=$1 round=$2
  local need=--need-win64
  [ "$arch" = x86_64 ] || need=--need-win32
  local args=(--searches auto,bytes)
  [ "$smoke" = 0 ] || args+=(--smoke)
  local rc=0
  bash "$wine_run" run "$prefix" "$need" --timeout 900 "$(program "$arch")" "${args[@]}" \
    >"$out/run.txt" 2>"$out/err.txt" || rc=$?
  tr -d '\r' <"$out/run.txt" >"$out/run-$arch-$round.txt"
  if [ "$rc" = 77 ]; then
    unavailable[$arch]=$(tr -d '\r' <"$out/run-$arch-$round.txt" | tail -n1)
    return 0
  fi
  if [ "$rc" != 0 ]; then
    echo "compare-windows-scan: the $arch build failed (exit status $rc):" >&2
    cat "$out/run-$arch-$round.txt" "$out/err.txt" >&2
    exit 1
  fi
  grep '^# texmint_scan_timing' "$out/run-$arch-$round.txt" | sed "s/^# /# $arch: /" >&2
  awk -v arch="$arch" -F'\t' '$1 == "RESULT" { print arch "\t" $0 }' \
    "$out/run-$arch-$round.txt" >>"$out/results"
}

: >"$out/results"
for ((round = 1; round <= rounds; round++)); do
  for arch in "${arches[@]}"; do
    [ -z "${unavailable[$arch]:-}" ] || continue
    echo "# round $round of $rounds: $arch" >&2
    run_build "$arch" "$round"
  done
done

# One row per case: the median over the rounds of each build's times, and the ratio of the
# two builds' times with the search each chooses itself.
[ ! -s "$out/results" ] || awk -F'\t' -v smoke="$smoke" '
  function median(list,    n, v, i, j, t) {
    if (list == "") return ""
    n = split(list, v, " ")
    for (i = 1; i <= n; i++)
      for (j = i + 1; j <= n; j++)
        if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  function us(list,    m) { m = median(list); return m == "" ? "-" : sprintf("%.1f", m * 1e6) }
  {
    key = $3 "\t" $4
    if (!(key in seen)) { seen[key] = 1; order[++cases] = key }
    times[$1 "/" $5 "/" key] = times[$1 "/" $5 "/" key] " " $6
    base[$1 "/" key] = base[$1 "/" key] " " $7
  }
  END {
    if (smoke) print "smoke run on small images: not a measurement"
    print "microseconds per scan: each run'"'"'s fastest sample, median over the rounds"
    print "auto: the search the build chooses on this processor; bytes: the search it uses on"
    print "processors without SSE2; mchr: one memchr pass over the image"
    format = "%-9s %-5s | %9s %9s %9s | %9s %9s %9s | %9s\n"
    printf format, "content", "size", "x64 auto", "x64 bytes", "x64 mchr", \
      "x86 auto", "x86 bytes", "x86 mchr", "x86/x64"
    for (c = 1; c <= cases; c++) {
      key = order[c]
      split(key, k, "\t")
      x = median(times["x86_64/auto/" key])
      i = median(times["i686/auto/" key])
      ratio = (x != "" && i != "") ? sprintf("%.2fx", i / x) : "-"
      printf format, k[1], k[2], us(times["x86_64/auto/" key]), us(times["x86_64/bytes/" key]), \
        us(base["x86_64/" key]), us(times["i686/auto/" key]), us(times["i686/bytes/" key]), \
        us(base["i686/" key]), ratio
    }
  }' "$out/results"

status=0
for arch in "${arches[@]}"; do
  if [ -n "${unavailable[$arch]:-}" ]; then
    echo "$arch build not run: ${unavailable[$arch]}"
    [ -z "$only" ] || status=77
  fi
done
exit "$status"
