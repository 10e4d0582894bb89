#!/usr/bin/env bash
# Installs what is missing, builds texmint.exe and starts it under Wine: the 32-bit build,
# the product, or the 64-bit one where the kernel cannot run 32-bit programs. Uses your
# display; without one it starts a virtual one and says where to look.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DTEXMINT_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" --target windows-i686 windows-x86_64
prefix=${WINEPREFIX:-$HOME/.wine-texmint}
bash scripts/wine-run.sh setup "$prefix"
arch=$(bash scripts/wine-run.sh arch "$prefix")
[ "$arch" = i686 ] || echo "run: this machine cannot run 32-bit programs; starting the 64-bit texmint.exe"
exec bash scripts/wine-run.sh run "$prefix" --display --timeout 0 "$build/windows-$arch/texmint.exe"
