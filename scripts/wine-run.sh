#!/usr/bin/env bash
# Runs Windows programs under Wine on a private virtual X display, in a Wine prefix of our
# own, and cleans up after itself: its Xvfb (by PID) and its prefix's wineserver.
#
#   wine-run.sh setup PREFIX
#       Creates the prefix once (win64 when this Wine runs both 32- and 64-bit programs,
#       else win32; win64 alone where the kernel cannot run 32-bit code at all).
#       Later calls return at once.
#   wine-run.sh run PREFIX [--need-win32|--need-win64] [--timeout SECONDS] [--shots DIR]
#           [--display] PROGRAM [ARGS...]
#       Runs PROGRAM under Wine and exits with its exit code; 77 (skipped) when the prefix
#       cannot run programs of the architecture asked for. With --shots, the BMP pictures
#       the program left in DIR are turned into PNG. With --display it shows on $DISPLAY
#       when there is one. A timeout of 0 lets the program run as long as it likes.
#   wine-run.sh arch PREFIX
#       Prints the build to start in the prefix: i686, the product, unless the prefix runs
#       only 64-bit programs; then x86_64.
set -euo pipefail

usage() {
  sed -n '4,17p' "$0" >&2
  exit 2
}
[ $# -ge 2 ] || usage
mode=$1
prefix=$(realpath -m "$2")
shift 2

export WINEPREFIX=$prefix
# Keep errors visible (a missing DLL shows up as one) but not the stream of fixme notes.
export WINEDEBUG=${WINEDEBUG:-fixme-all}
# No Mono or Gecko install prompts; a crash ends the program instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
unset WINEARCH
ready_mark=$prefix/.texmint-prefix

xvfb_pid=
display_file=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -z "$display_file" ] || rm -f "$display_file"
}
trap cleanup EXIT

# Starts Xvfb on a display number it finds free itself, and exports DISPLAY.
start_xvfb() {
  command -v Xvfb >/dev/null || { echo "wine-run: Xvfb is not installed" >&2; exit 1; }
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  local waited=0
  while ! grep -q '[0-9]' "$display_file"; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$waited" -ge 100 ]; then
      echo "wine-run: Xvfb did not start" >&2
      exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=:$(tr -dc '0-9' <"$display_file")
}

have_wine64() {
  command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ]
}

# Some kernels are built without 32-bit support: there Wine's 32-bit loader cannot start,
# and the wine script, which prefers it, fails for every program.
can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Chooses the loader the prefix was made for (see create_prefix).
WINE=wine
use_loader() {
  if [ "$1" = win64-only ]; then
    export WINELOADER=/usr/lib/wine/wine64
    WINE=/usr/lib/wine/wine64
  fi
}

# Creates the prefix for one architecture; true when it can run what that needs.
create_prefix() {
  local arch=$1
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  use_loader "$arch"
  WINEARCH=${arch%-only} timeout 180 "$WINE" wineboot --init >/dev/null 2>&1 || return 1
  wineserver -w
  # Without a window manager, unmanaged windows close at once instead of after 2 s.
  timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    return 1
  if [ "$arch" = win64 ]; then
    # Both halves must work: the 64-bit side and the 32-bit programs beside it.
    [ "$(timeout 60 "$WINE" cmd /c echo texmint64 2>/dev/null | tr -d '\r')" = texmint64 ] || return 1
    [ "$(timeout 60 "$WINE" 'C:\windows\syswow64\cmd.exe' /c echo texmint32 2>/dev/null |
      tr -d '\r')" = texmint32 ] || return 1
  fi
  wineserver -w
  echo "$arch" >"$ready_mark"
}

case "$mode" in
  setup)
    [ $# -eq 0 ] || usage
    if [ -f "$ready_mark" ]; then
      echo "wine-run: prefix $prefix ($(cat "$ready_mark")) is ready"
      exit 0
    fi
    command -v wine >/dev/null || { echo "wine-run: wine is not installed" >&2; exit 1; }
    start_xvfb
    if ! can_run_32bit; then
      have_wine64 && create_prefix win64-only ||
        { echo "wine-run: cannot create a 64-bit Wine prefix in $prefix" >&2; exit 1; }
      echo "wine-run: this machine cannot run 32-bit programs; only 64-bit ones will run"
    elif have_wine64 && create_prefix win64; then
      :
    elif create_prefix win32; then
      :
    else
      echo "wine-run: cannot create a Wine prefix in $prefix" >&2
      exit 1
    fi
    echo "wine-run: created prefix $prefix ($(cat "$ready_mark"))"
    ;;
  run)
    need_win32=0
    need_win64=0
    limit=60
    shots=
    display=0
    while [ $# -gt 0 ]; do
      case "$1" in
        --need-win32) need_win32=1; shift ;;
        --need-win64) need_win64=1; shift ;;
        --timeout) limit=$2; shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        --display) display=1; shift ;;
        --*) usage ;;
        *) break ;;
      esac
    done
    [ $# -ge 1 ] || usage
    if [ ! -f "$ready_mark" ]; then
      echo "wine-run: no prefix in $prefix; run '$0 setup $prefix' first" >&2
      exit 1
    fi
    kind=$(cat "$ready_mark")
    if [ "$need_win64" = 1 ] && [ "$kind" = win32 ]; then
      echo "wine-run: the prefix is win32: no 64-bit programs here, skipped"
      exit 77
    fi
    if [ "$need_win32" = 1 ] && [ "$kind" = win64-only ]; then
      echo "wine-run: this machine's kernel cannot run 32-bit code: skipped"
      exit 77
    fi
    use_loader "$kind"
    if [ "$display" = 0 ] || [ -z "${DISPLAY:-}" ]; then
      start_xvfb
      [ "$display" = 0 ] || echo "wine-run: no display; see the virtual one with: xwd -root -display $DISPLAY"
    fi
    rc=0
    timeout -k 5 "$limit" "$WINE" "$@" || rc=$?
    [ "$rc" != 124 ] || echo "wine-run: $1 was stopped after $limit s" >&2
    if [ -n "$shots" ] && [ -d "$shots" ]; then
      for bmp in "$shots"/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" || rc=1
      done
    fi
    exit "$rc"
    ;;
  arch)
    trap - EXIT  # nothing started, nothing to stop
    [ $# -eq 0 ] && [ -f "$ready_mark" ] || usage
    [ "$(cat "$ready_mark")" = win64-only ] && echo x86_64 || echo i686
    ;;
  *)
    usage
    ;;
esac
