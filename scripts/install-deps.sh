#!/usr/bin/env bash
# Installs everything the build, the tests and the packaging need on a Debian 12 machine.
# Safe to run again: it only installs what is missing, and returns at once when nothing is.
# Run by another user than root it installs nothing: it says what to install and fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev
  g++-multilib qemu-user googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb x11-utils x11-apps imagemagick unzip
)

if ! command -v dpkg-query >/dev/null; then
  echo "install-deps: not a Debian system, nothing checked; the Debian 12 packages needed are:" >&2
  echo "  ${packages[*]}" >&2
  exit 0
fi

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "$need_i386" = 0 ] && [ "${#missing[@]}" = 0 ]; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  {
    echo "install-deps: packages are missing: ${missing[*]}"
    echo "Install them as root, then run this command again:"
    [ "$need_i386" = 0 ] || echo "  dpkg --add-architecture i386"
    echo "  apt-get update"
    echo "  apt-get install --no-install-recommends ${missing[*]}"
    echo "(or run: sudo bash scripts/install-deps.sh)"
  } >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
[ "$need_i386" = 1 ] && dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
