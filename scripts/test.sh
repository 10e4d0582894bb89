#!/usr/bin/env bash
# Installs what is missing, builds everything (native with sanitizers, texmint.exe for i686
# and x86_64, the release zip) with warnings as errors, and runs every test: unit tests,
# checks of the .exe files and of the zip, and the tests under Wine.
# Extra arguments go to ctest, for example: scripts/test.sh -L unit
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DTEXMINT_WARNINGS_AS_ERRORS=ON
cmake --build "$build"
# Tests that share a resource (the Wine prefix) say so; the rest run side by side.
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" "$@"
