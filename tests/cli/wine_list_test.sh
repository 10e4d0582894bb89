#!/usr/bin/env bash
# Runs the Windows console build of texmint-cli under Wine: `list` on a copy of the real
# model, given by a relative path so the Windows side forms the full path itself.
# Arguments: texmint-cli.exe, the model, a work folder (the Wine prefix lives there).
set -euo pipefail
exe=$(realpath "$1") model=$2 work=$(realpath -m "$3")

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "this machine's kernel cannot run 32-bit code: skipped"
  exit 77
fi
mkdir -p "$work"
run=$(mktemp -d "$work/run.XXXXXX")
cp "$model" "$run/rock.nif"

export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=;mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$run"
}
trap cleanup EXIT

status=0
(cd "$run" && timeout 300 wine "$exe" list rock.nif >out.txt 2>err.txt) || status=$?
if [ "$status" != 0 ]; then
  echo "texmint-cli.exe exited with $status; its stderr:" >&2
  cat "$run/err.txt" >&2
  exit 1
fi

expected=$(printf '0\t431\t463\ttx_merp_mirkwood_stone01.dds\r\n1\t45211\t45243\ttx_merp_mirkwood_stone01.dds\r\n' | od -c)
actual=$(od -c <"$run/out.txt")
if [ "$actual" != "$expected" ]; then
  echo "unexpected output; want:" >&2
  echo "$expected" >&2
  echo "got:" >&2
  echo "$actual" >&2
  exit 1
fi
echo "texmint-cli.exe list under Wine: 2 references, as on Linux"
