#!/usr/bin/env bash
# Makes the release, dist/texmint-VERSION-windows.zip, from the Windows builds, after
# checking the zip as a user receives it (the CTest tests labelled package, under Wine).
#
#   scripts/package.sh [--no-test]
#
# VERSION is the project's version in CMakeLists.txt. Nothing else writes to dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
run_tests=1
case "${1:-}" in
  "") ;;
  --no-test) run_tests=0 ;;
  *) sed -n '5p' "$0" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DTEXMINT_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" --target texmint_zip

version=$(sed -n 's/^project(Texmint VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$build/package/texmint-$version-windows.zip
[ -f "$zip" ] || { echo "package: $zip was not made" >&2; exit 1; }

if [ "$run_tests" = 1 ]; then
  ctest --test-dir "$build" -L package --output-on-failure
fi

mkdir -p dist
cp "$zip" dist/
unzip -l "dist/$(basename "$zip")"
echo "package: dist/$(basename "$zip") ($(stat -c %s "$zip") bytes)"
