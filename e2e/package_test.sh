#!/usr/bin/env bash
# The release zip as a user receives it.
#   package_test.sh contents ZIP DIR VERSION: unpacks ZIP into the emptied DIR, checks its files
#   package_test.sh run DIR PREFIX i686|x86_64 VERSION MODEL WORK DRIVER SCENARIO: under Wine,
#       from DIR, texmint-cli.exe --version, a make on a copy of MODEL (morrowind_mossyrock.nif,
#       whose reference 0 spans bytes 431 to 463), a make with --game-path, a check of both copies and, on i686 (texmint.exe
#       is 32-bit), texmint.exe driven through SCENARIO
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
fail() { echo "package_test: $*" >&2; exit 1; }
windows() { echo "Z:$(realpath -m "$1" | tr / '\\')"; }

if [ "$1" = contents ]; then
  zip=$(realpath "$2") dir=$3 version=$4
  [ "$(basename "$zip")" = "texmint-$version-windows.zip" ] || fail "the zip is named $zip"
  rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" && unzip -q "$zip"
  files=$(find . -type f | sort | tr '\n' ' ')
  [ "$files" = "./LICENSE ./README.txt ./SHA256SUMS ./cli-32-bit/texmint-cli.exe ./cli-64-bit/texmint-cli.exe ./texmint.exe " ] ||
    fail "the zip holds $files"
  sha256sum --quiet -c SHA256SUMS || fail "a checksum in SHA256SUMS does not match"
  ! grep -v $'\r$' README.txt LICENSE || fail "these lines of README.txt or LICENSE lack CR LF"
  grep -q "^Copyright (c) [0-9]* The Texmint authors" LICENSE || fail "LICENSE names no holder"
  bash "$scripts/check-exe.sh" texmint.exe i686 gui >/dev/null
  bash "$scripts/check-exe.sh" cli-32-bit/texmint-cli.exe i686 console >/dev/null
  bash "$scripts/check-exe.sh" cli-64-bit/texmint-cli.exe x86_64 console >/dev/null
  grep -q "\"ProductVersion\", \"$version\"" <<<"$(i686-w64-mingw32-windres -i texmint.exe -O rc)" ||
    fail "texmint.exe's version resource does not say $version"
  # Every message the program shows is explained in README.txt (up to its first field).
  readme=$(tr -d '\r' <README.txt | tr '\n' ' ')
  grep -h -A1 'const char\* kMsg' "$scripts"/../src/{model,variants}/*.h | sed -n 's/.*"\(.*\)".*/\1/p' |
    sed 's/%.*//; s/\\n.*//' | while read -r message; do
      grep -qF "$message" <<<"$readme" || fail "README.txt lacks \"$message\""
    done
  exit 0
fi

dir=$(realpath "$2") prefix=$(realpath "$3") arch=$4 version=$5 model=$(realpath "$6") work=$(realpath -m "$7")
bits=64 && [ "$arch" = i686 ] && bits=32
exe=cli-$bits-bit/texmint-cli.exe
run() { (cd "$dir" && bash "$scripts/wine-run.sh" run "$prefix" --need-win$bits "$@"); }
rm -rf "$work" && mkdir -p "$work/Textures/sub" && cp "$model" "$work/rock.nif" &&
  touch "$work/a.dds" "$work/Textures/a.dds" "$work/Textures/sub/b.dds"
out=$(run "$exe" --version) || exit $?  # 77: this machine cannot run the build
[ "$(tr -d '\r' <<<"$out")" = "texmint-cli $version" ] || fail "$exe --version printed $out"
run "$exe" make "$(windows "$work/rock.nif")" --ref 0 "$(windows "$work/a.dds")"
cmp "$work/rock_01.nif" <(head -c 431 "$model"; printf '\5\0\0\0a.dds'; tail -c +464 "$model") || fail "$exe made a wrong copy"
run "$exe" make "$(windows "$work/rock.nif")" --ref 1 --game-path --out "$(windows "$work/Textures")" \
  "$(windows "$work/Textures/sub/b.dds")"
# Both copies' textures are found in the data folder's Textures; the rock's own is not.
out=$(run "$exe" check --data "$(windows "$work")" "$(windows "$work/rock_01.nif")" \
  "$(windows "$work/Textures/rock_01.nif")") && fail "check found all"
for line in '0\ta.dds\tfound\ttextures\\a.dds' '1\ttextures\\sub\\b.dds\tfound\ttextures\\sub\\b.dds'; do
  grep -qF "$(printf "$line")" <<<"$(tr -d '\r' <<<"$out")" || fail "check printed $out"
done
[ "$arch" != i686 ] || run "$(realpath "$8")" "$dir/texmint.exe" "$work/dialog" "$(dirname "$model")" "$work/shots" "$(realpath "$9")"
