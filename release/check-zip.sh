#!/usr/bin/env bash
# Checks the release packing: the package holds exactly the program, the help file and the
# read-me, in sorted order, unchanged; and packing the same files again, at another time and
# from copies with other dates, gives the same bytes.
#   check-zip.sh EXE CHM README
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
chm=$2
readme=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

bash "$here/make-zip.sh" "$work/first.zip" "$exe" "$chm" "$readme"
mkdir "$work/copies"
cp "$exe" "$chm" "$readme" "$work/copies/"
touch -d '2031-07-15 12:34:56' "$work/copies"/*
sleep 1
bash "$here/make-zip.sh" "$work/second.zip" "$work/copies/$(basename "$exe")" \
  "$work/copies/$(basename "$chm")" "$work/copies/$(basename "$readme")"
cmp -s "$work/first.zip" "$work/second.zip" || fail "packing again gives a different zip"

entries=$(unzip -Z1 "$work/first.zip" | tr '\n' ' ')
[[ $entries == "readme.txt yomitron.chm yomitron.exe " ]] || fail "unexpected entries: $entries"
unzip -q "$work/first.zip" -d "$work/unpacked"
cmp -s "$work/unpacked/yomitron.exe" "$exe" || fail "yomitron.exe changed in the package"
cmp -s "$work/unpacked/yomitron.chm" "$chm" || fail "yomitron.chm changed in the package"
# The read-me: a byte-order mark, Windows line ends, otherwise the text as written.
[[ $(head -c 3 "$work/unpacked/readme.txt" | od -An -tx1 | tr -d ' ') == efbbbf ]] ||
  fail "readme.txt has no byte-order mark"
tail -c +4 "$work/unpacked/readme.txt" | tr -d '\r' | cmp -s - "$readme" ||
  fail "readme.txt differs from its source"
[[ $(grep -c $'\r$' "$work/unpacked/readme.txt") -eq $(wc -l <"$readme") ]] ||
  fail "readme.txt does not end every line with CR LF"
unzip -Z -l "$work/first.zip" | grep -q '26-Jan-01 00:00' || fail "entries do not carry the fixed date"

if [[ $failures -ne 0 ]]; then
  echo "$failures problem(s) in the release package" >&2
  exit 1
fi
echo "release package: 3 entries, reproducible"
