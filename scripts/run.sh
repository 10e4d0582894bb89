#!/usr/bin/env bash
# Installs what is missing, builds texmint.exe (32-bit) and starts it under Wine. Uses your
# display; without one it starts a virtual one and says where to look.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${TEXMINT_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DTEXMINT_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" --target windows-i686
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "run: this machine cannot run 32-bit programs (its kernel lacks 32-bit support), so" >&2
  echo "Wine cannot start the 32-bit texmint.exe here; it is built in $build/windows-i686/" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:77
  Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
  trap 'kill $!' EXIT
  echo "No display: running on the virtual display $DISPLAY (see it with: xwd -root -display $DISPLAY)"
  sleep 1
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-texmint32} WINEARCH=win32
wine "$build/windows-i686/texmint.exe"
