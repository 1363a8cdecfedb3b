#!/usr/bin/env bash
# Checks the compiled help file: the table of contents and every page are inside, every page is
# in the contents, every link leads to a page that is there, the pages are the CP932 forms of the
# sources, and compiling the same sources again gives the same bytes.
#   check-chm.sh CHM SOURCE_DIR CP932_DIR
set -euo pipefail
chm=$1
sources=$2
stage=$3
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

[[ -s $chm ]] || { echo "FAIL: no help file at $chm" >&2; exit 1; }
extract_chmLib "$chm" "$work/out" >/dev/null
[[ -f $work/out/toc.hhc ]] || fail "the table of contents toc.hhc is missing"
toc=$(iconv -f CP932 -t UTF-8 "$work/out/toc.hhc")

pages=0
for source in "$sources"/*.html; do
  page=$(basename "$source")
  pages=$((pages + 1))
  inside=$work/out/$page
  if [[ ! -f $inside ]]; then
    fail "$page is not in the help file"
    continue
  fi
  cmp -s "$inside" "$stage/$page" || fail "$page differs from its CP932 source"
  grep -q 'charset=Shift_JIS' "$inside" || fail "$page does not declare Shift_JIS"
  grep -q "<param name=\"Local\" value=\"$page\">" <<<"$toc" || fail "$page is not in the contents"
  for link in $(iconv -f CP932 -t UTF-8 "$inside" | grep -o 'href="[^"#]*' | cut -d'"' -f2); do
    [[ -f $work/out/$link ]] || fail "$page links to $link, which is not in the help file"
  done
done
[[ $pages -gt 0 ]] || fail "no pages found in $sources"

for local in $(grep -o '<param name="Local" value="[^"]*"' <<<"$toc" | cut -d'"' -f4); do
  [[ -f $work/out/$local ]] || fail "the contents name $local, which is not in the help file"
done
grep -q '速度の計り方' <<<"$toc" || fail "the contents do not read as Japanese text"

# Compiling the same sources again gives the same file.
cp -r "$stage" "$work/again"
bash "$here/build-chm.sh" "$work/again" "$work/again.chm"
cmp -s "$chm" "$work/again.chm" || fail "compiling again gives a different file"

if [[ $failures -ne 0 ]]; then
  echo "$failures problem(s) in $chm" >&2
  exit 1
fi
echo "help file: $pages pages, contents and links complete, reproducible"
