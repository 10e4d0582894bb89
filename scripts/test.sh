#!/usr/bin/env bash
# Builds everything (native with sanitizers, texmint.exe for i686 and x86_64) and runs
# every test: unit tests, checks of the .exe files and the tests under Wine.
# Extra arguments go to ctest, for example: scripts/test.sh -L unit
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure "$@"
