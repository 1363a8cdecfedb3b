#!/usr/bin/env bash
# Compiles the help file from its CP932 sources and gives it fixed stamps, so the same sources
# always give the same bytes.
#   build-chm.sh SOURCE_DIR OUTPUT_CHM
set -euo pipefail
src=$1
out=$2

cd "$src"
rm -f yomitron.chm
# chmcmd exits 0 even when it fails: the missing output tells.
if ! chmcmd yomitron.hhp >chmcmd.log 2>&1 || [[ ! -s yomitron.chm ]]; then
  cat chmcmd.log >&2
  echo "build-chm: chmcmd made no yomitron.chm" >&2
  exit 1
fi

# chmcmd writes the time of compilation into the file header (bytes 16-19) and into #SYSTEM
# (entry 10, right after the version 3 that starts it). Both become a hash of the contents.
header=16
system=$(od -An -v -tx1 yomitron.chm | tr -d ' \n' | { grep -ob '030000000a000400' || true; } |
  cut -d: -f1 | awk '$1 % 2 == 0 { print $1 / 2 }')
if [[ $(wc -w <<<"$system") -ne 1 ]]; then
  echo "build-chm: the #SYSTEM time entry is not where it was expected" >&2
  exit 1
fi
system=$((system + 8))
put() {  # offset hex8
  local b=$2
  printf "\\x${b:0:2}\\x${b:2:2}\\x${b:4:2}\\x${b:6:2}" |
    dd of=yomitron.chm bs=1 seek="$1" conv=notrunc status=none
}
put "$header" 00000000
put "$system" 00000000
stamp=$(md5sum yomitron.chm | cut -c1-8)
put "$header" "$stamp"
put "$system" "$stamp"

cp yomitron.chm "$out"
