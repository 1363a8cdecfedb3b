#!/usr/bin/env bash
# Packs the release: the program, its help file and the read-me. The same inputs always give
# the same bytes: fixed dates and modes, sorted entries, no extra attributes.
#   make-zip.sh OUTPUT_ZIP EXE CHM README
set -euo pipefail
out=$1
exe=$2
chm=$3
readme=$4
readonly fixed_date='2026-01-01 00:00:00'

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/yomitron.exe"
cp "$chm" "$stage/yomitron.chm"
# Windows line ends and a byte-order mark, so every editor there reads the read-me as UTF-8.
{
  printf '\xef\xbb\xbf'
  sed 's/\r*$/\r/' "$readme"
} >"$stage/readme.txt"

chmod 644 "$stage"/*
# zip keeps local time: with the zone fixed too, the stored dates never move.
export TZ=UTC
touch -d "$fixed_date" "$stage"/*
rm -f "$out.tmp"
(cd "$stage" && LC_ALL=C ls | LC_ALL=C sort | zip -X -D -q -9 "$out.tmp" -@)
mv -f "$out.tmp" "$out"
