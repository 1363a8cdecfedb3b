#!/usr/bin/env bash
# Endurance: a process saving the settings file is killed at random moments, again and again.
# Whatever moment it dies at, the file is there and holds one whole document, never a part.
#
#   kill_during_save.sh PROBE_EXE SAVE_LOOP_EXE [ROUNDS]
set -uo pipefail
# shellcheck source-path=SCRIPTDIR/../e2e
source "$(dirname "$0")/../e2e/lib.sh"
[[ $# -eq 2 || $# -eq 3 ]] || { echo "usage: $0 PROBE_EXE SAVE_LOOP_EXE [ROUNDS]" >&2; exit 2; }
e2e_init "$1"
saver=$2
rounds=${3:-12}

dir=$E2E_ARTEFACTS/saves
rm -rf "$dir"
mkdir -p "$dir"
file=$dir/yomitron.ini
winfile=$(e2e_winpath "$file")

# The document save_loop writes for a number: the file must be exactly one of these.
document() {
  printf '[POSITION]\r\nTop=%s\r\n[PAD]\r\nx=%s\r\n[END]\r\nLast=%s\r\n' "$1" \
    "$(head -c 200000 /dev/zero | tr '\0' x)" "$1"
}

for ((round = 1; round <= rounds; round++)); do
  wine "$saver" "$winfile" </dev/null >/dev/null 2>&1 &
  pid=$!
  E2E_PIDS+=("$pid")
  # Wait until the first save has landed, then let it run a random while more.
  for _ in $(seq 1 100); do
    [[ -f $file ]] && break
    sleep 0.1
  done
  sleep "0.$((RANDOM % 9 + 1))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  sleep 0.3  # the server lets go of the dead process's files

  if [[ ! -f $file ]]; then
    assert_eq "present" "missing" "round $round: the settings file"
    continue
  fi
  n=$(sed -n 's/^Top=\([0-9]*\)\r$/\1/p' "$file" | head -n 1)
  if [[ -z $n ]]; then
    assert_eq "a whole document" "no Top line" "round $round: the settings file"
    continue
  fi
  if cmp -s "$file" <(document "$n"); then
    assert_eq whole whole "round $round: save $n is whole"
  else
    assert_eq whole damaged "round $round: save $n ($(stat -c %s "$file") bytes)"
  fi
done
e2e_finish
