#!/usr/bin/env bash
# Checks a built program: a GUI (or console) program for the expected machine that needs
# nothing but Windows' own DLLs (the C and C++ runtimes are linked in).
#   check-exe.sh EXE i686|x86_64 [gui|console]
set -euo pipefail

exe=$1
arch=$2
fail() { echo "check-exe: $exe: $*" >&2; exit 1; }

[ -f "$exe" ] || fail "missing"
case "$arch" in
  i686) objdump=i686-w64-mingw32-objdump; want_machine=014c; want_format=pei-i386 ;;
  x86_64) objdump=x86_64-w64-mingw32-objdump; want_machine=8664; want_format=pei-x86-64 ;;
  *) fail "unknown architecture $arch" ;;
esac
command -v "$objdump" >/dev/null || objdump=objdump
headers=$("$objdump" -p "$exe") || fail "objdump cannot read it"

format=$(sed -n 's/.*file format \(.*\)$/\1/p' <<<"$headers" | head -n1)
[ "$format" = "$want_format" ] || fail "file format is '$format', expected $want_format"

# The machine field of the COFF header, read from the file itself.
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
signature=$(od -An -c -j"$pe_offset" -N4 "$exe" | tr -d ' ')
[ "$signature" = 'PE\0\0' ] || fail "no PE signature at offset $pe_offset"
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
[ "$machine" = "$want_machine" ] || fail "machine type is $machine, expected $want_machine"

subsystem=$(awk '$1 == "Subsystem" { print $2 }' <<<"$headers")
want_subsystem=00000002
[ "${3:-gui}" = console ] && want_subsystem=00000003
[ "$subsystem" = "$want_subsystem" ] || fail "subsystem is '$subsystem', expected $want_subsystem (${3:-gui})"

# DLLs every Windows installation has; anything else would have to ship beside the .exe.
system_dlls='^(kernel32|user32|gdi32|comdlg32|comctl32|advapi32|shell32|ole32|oleaut32|shlwapi|uxtheme|version|msvcrt|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$(awk '/DLL Name:/ { print $3 }' <<<"$headers")
[ -n "$imports" ] || fail "no imported DLLs found (objdump output changed?)"
foreign=$(tr 'A-Z' 'a-z' <<<"$imports" | grep -Ev "$system_dlls" || true)
[ -z "$foreign" ] || fail "imports DLLs that are not part of Windows: $(echo $foreign)"

echo "check-exe: $exe: $format, machine $machine, ${3:-gui} subsystem, imports: $(echo $imports)"
