#!/usr/bin/env bash
# Checks the release zip as a user receives it.
#
#   zip_test.sh contents ZIP UNPACKED VERSION SOURCE_DIR
#       Unpacks ZIP into the emptied folder UNPACKED and checks its files: exactly the
#       expected ones, checksums, Windows line ends in the texts, every message of the
#       program explained in README.txt, and the programs' machine types and version.
#   zip_test.sh cli i686|x86_64 UNPACKED PREFIX VERSION MODEL WORK
#       Under Wine, from UNPACKED: texmint-cli.exe --version, and a make on a copy of MODEL
#       in the emptied folder WORK, whose copies are compared byte by byte with the expected
#       (the model is morrowind_mossyrock.nif: its reference 0 is at bytes 431 to 463).
#   zip_test.sh dialog UNPACKED PREFIX DRIVER FIXTURES WORK
#       Under Wine, from UNPACKED: texmint.exe shows its dialog and closes with exit code 0.
#
# The Wine parts exit with 77 (skipped) where the build's programs cannot run.
set -euo pipefail

src=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$src/e2e/wine-run.sh

fail() {
  echo "zip_test: $*" >&2
  exit 1
}

# A fresh, empty folder.
fresh() {
  rm -rf "$1"
  mkdir -p "$1"
}

# How Windows programs under Wine reach a Unix path: through drive Z:.
windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# The lines of every message the program can show, from its message constants: the
# literal pieces of each `kMsg...` definition joined, split where they hold "\n".
program_message_lines() {
  awk '
    /constexpr const char\* kMsg/ { collecting = 1; text = "" }
    collecting {
      line = $0
      while (match(line, /"([^"\\]|\\.)*"/)) {
        text = text substr(line, RSTART + 1, RLENGTH - 2)
        line = substr(line, RSTART + RLENGTH)
      }
      if ($0 ~ /;/) { collecting = 0; gsub(/\\n/, "\n", text); print text }
    }' "$src"/src/model/*.h "$src"/src/variants/*.h
}

# An extended regular expression matching `text` whole, with each printf field (%s, %u)
# standing for a word in capitals, as README.txt writes them (PATH, NAME, N).
message_pattern() {
  local escaped
  escaped=$(printf '%s' "$1" | sed -e 's/[][\.*^$?+(){}|]/\\&/g')
  escaped=${escaped//%s/[A-Z]+}
  escaped=${escaped//%u/[A-Z]+}
  printf '^%s$' "$escaped"
}

check_contents() {
  local zip unpacked version=$3
  zip=$(realpath -m "$1")
  unpacked=$(realpath -m "$2")
  [ "$(basename "$zip")" = "texmint-$version-windows.zip" ] ||
    fail "the zip is named $(basename "$zip"), expected texmint-$version-windows.zip"
  [ -f "$zip" ] || fail "$zip is missing (bash scripts/package.sh or a build makes it)"

  local expected actual
  expected=$(printf '%s\n' LICENSE README.txt SHA256SUMS cli-32-bit/texmint-cli.exe \
    cli-64-bit/texmint-cli.exe texmint.exe | sort)
  actual=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
  [ "$actual" = "$expected" ] ||
    fail "the zip holds"$'\n'"$actual"$'\n'"expected"$'\n'"$expected"

  fresh "$unpacked"
  unzip -q "$zip" -d "$unpacked" || fail "unzip failed"
  cd "$unpacked"

  # Checksums: one line for every other file, and all of them right.
  local summed
  summed=$(sed 's/^[0-9a-f]\{64\}  //' SHA256SUMS | sort)
  [ "$summed" = "$(grep -vx SHA256SUMS <<<"$expected")" ] ||
    fail "SHA256SUMS lists"$'\n'"$summed"
  sha256sum --quiet -c SHA256SUMS || fail "a checksum in SHA256SUMS does not match"

  # Texts for Windows: every line ends in CR LF.
  local text lines
  for text in README.txt LICENSE; do
    lines=$(wc -l <"$text")
    [ "$lines" -gt 0 ] || fail "$text is empty"
    [ "$(grep -c $'\r$' "$text")" = "$lines" ] || fail "$text has lines without CR LF"
    [ "$(tail -c 1 "$text" | od -An -tx1 | tr -d ' ')" = 0a ] || fail "$text has no final line end"
  done
  grep -q "^MIT License"$'\r'"$" LICENSE || fail "LICENSE is not the MIT licence"
  grep -q "^Copyright (c) [0-9]* The Texmint authors"$'\r'"$" LICENSE ||
    fail "LICENSE does not name The Texmint authors"
  grep -q "^Texmint $version"$'\r'"$" README.txt || fail "README.txt does not start with the version"

  # Every message the program can show is explained in README.txt.
  local readme line count=0 missing=0
  readme=$(tr -d '\r' <README.txt)
  while IFS= read -r line; do
    count=$((count + 1))
    grep -Eq "$(message_pattern "$line")" <<<"$readme" || {
      echo "zip_test: README.txt does not explain the message \"$line\"" >&2
      missing=1
    }
  done < <(program_message_lines)
  [ "$count" -ge 10 ] || fail "found only $count message lines in the sources"
  [ "$missing" = 0 ] || exit 1

  # The programs: each for its machine, the dialog a GUI program, the others console
  # programs; texmint.exe with the version in its resources.
  local entry exe want headers format subsystem
  for entry in texmint.exe:pei-i386:2 cli-32-bit/texmint-cli.exe:pei-i386:3 \
    cli-64-bit/texmint-cli.exe:pei-x86-64:3; do
    IFS=: read -r exe format subsystem <<<"$entry"
    headers=$(x86_64-w64-mingw32-objdump -p "$exe") || fail "objdump cannot read $exe"
    want="file format $format"
    grep -q "$want\$" <<<"$headers" || fail "$exe is not of the $format format"
    want=$(awk '$1 == "Subsystem" { print $2 + 0 }' <<<"$headers")
    [ "$want" = "$subsystem" ] || fail "$exe has subsystem $want, expected $subsystem"
  done
  local resources
  resources=$(i686-w64-mingw32-windres -i texmint.exe -O rc) ||
    fail "cannot read the resources of texmint.exe"
  grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" ||
    fail "texmint.exe's version resource does not say $version"
  grep -q "PRODUCTVERSION ${version//./, }, 0" <<<"$resources" ||
    fail "texmint.exe's numeric product version is not $version"
  echo "zip_test: $(basename "$zip"): $(wc -l <<<"$expected") files, checksums, texts and versions as expected"
}

check_cli() {
  local arch=$1 unpacked prefix version=$4 model work
  unpacked=$(realpath -m "$2")
  prefix=$(realpath -m "$3")
  model=$(realpath -m "$5")
  work=$(realpath -m "$6")
  local need=--need-win64 exe=cli-64-bit/texmint-cli.exe
  if [ "$arch" = i686 ]; then
    need=--need-win32
    exe=cli-32-bit/texmint-cli.exe
  fi
  [ -f "$unpacked/$exe" ] || fail "$unpacked/$exe is missing"
  bash "$wine_run" setup "$prefix" >/dev/null
  fresh "$work"

  # The programs run from the unpacked folder, as a user starts them.
  local rc=0 out
  out=$(cd "$unpacked" && bash "$wine_run" run "$prefix" "$need" "$exe" --version) || rc=$?
  if [ "$rc" = 77 ]; then
    echo "$out"
    exit 77
  fi
  [ "$rc" = 0 ] || fail "$exe --version exited with $rc: $out"
  [ "$(tr -d '\r' <<<"$out")" = "texmint-cli $version" ] ||
    fail "$exe --version printed '$out', expected 'texmint-cli $version'"

  cp "$model" "$work/rock.nif"
  mkdir "$work/moss"
  touch "$work/moss/moss_a.dds" "$work/moss/moss_b.dds"
  rc=0
  out=$(cd "$unpacked" && bash "$wine_run" run "$prefix" "$need" "$exe" make \
    "$(windows_path "$work/rock.nif")" --ref 0 \
    "$(windows_path "$work/moss/moss_b.dds")" "$(windows_path "$work/moss/moss_a.dds")") || rc=$?
  [ "$rc" = 0 ] || fail "$exe make exited with $rc: $out"
  grep -q "^Generated 2 file(s) with names:" <<<"$out" || fail "$exe make printed: $out"

  # Numbered in the textures' sorted order; reference 0's path (lengthOffset 431,
  # tailOffset 463) replaced by the texture's name, every other byte as in the model.
  local number texture
  for number in 01:a 02:b; do
    texture=moss_${number#*:}.dds
    number=${number%%:*}
    [ -f "$work/rock_$number.nif" ] || fail "$exe make wrote no rock_$number.nif; it printed: $out"
    {
      head -c 431 "$model"
      printf '\x0a\x00\x00\x00%s' "$texture"
      tail -c +464 "$model"
    } >"$work/expected_$number.nif"
    cmp "$work/expected_$number.nif" "$work/rock_$number.nif" ||
      fail "rock_$number.nif is not the model with reference 0 naming $texture"
  done
  echo "zip_test: $exe: --version and make as expected"
}

check_dialog() {
  local unpacked prefix driver fixtures work
  unpacked=$(realpath -m "$1")
  prefix=$(realpath -m "$2")
  driver=$(realpath -m "$3")
  fixtures=$(realpath -m "$4")
  work=$(realpath -m "$5")
  [ -f "$unpacked/texmint.exe" ] || fail "$unpacked/texmint.exe is missing"
  bash "$wine_run" setup "$prefix" >/dev/null
  fresh "$work"
  cd "$unpacked"
  # --- The driver: starts texmint.exe, waits for its dialog, checks its controls, closes
  # --- it and expects exit code 0. This call is the one place that knows the driver.
  bash "$wine_run" run "$prefix" --need-win32 --timeout 90 \
    "$driver" --program "$unpacked/texmint.exe" --work "$work" --fixtures "$fixtures" smoke
  # ---
}

usage() {
  sed -n '2,14p' "$0" >&2
  exit 2
}
[ $# -ge 1 ] || usage
mode=$1
shift
case "$mode:$#" in
  contents:4) check_contents "$@" ;;
  cli:6) check_cli "$@" ;;
  dialog:5) check_dialog "$@" ;;
  *) usage ;;
esac
