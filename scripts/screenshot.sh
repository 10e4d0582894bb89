#!/usr/bin/env bash
# Refreshes docs/screenshot.png: the real texmint.exe under Wine, with a model and three
# replacement textures chosen. Needs what scripts/install-deps.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target windows-i686 windows-x86_64

prefix=$build/wine-prefix
bash scripts/wine-run.sh setup "$prefix"

# The scenario's files live on a drive of their own, so the picture shows short paths.
drive=$(realpath -m "$build/e2e/screenshot-drive")
shots=$(realpath -m "$build/e2e/screenshot-shots")
mkdir -p "$drive"
rm -rf "$shots"
ln -sfn "$drive" "$prefix/dosdevices/t:"
trap 'rm -f "$prefix/dosdevices/t:"' EXIT

# The product is the 32-bit build; a machine that runs only 64-bit programs shows the other.
arch=$(bash scripts/wine-run.sh arch "$prefix")
bash scripts/wine-run.sh run "$prefix" --timeout 90 --shots "$shots" \
  "$build/windows-$arch/e2e/texmint-driver.exe" "$build/windows-$arch/texmint.exe" 'T:\Mods' \
  tests/models "$shots" scripts/screenshot.scenario

mkdir -p docs
cp "$shots/chosen.png" docs/screenshot.png
echo "screenshot: docs/screenshot.png refreshed (all three moments are in $shots)"
