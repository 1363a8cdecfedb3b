#!/usr/bin/env bash
# Endurance: twenty starts of one executable released at the same moment. Exactly one instance
# runs; every other one shows the refusal box ("既に起動されています。", captioned with the file
# name without its extension) and, once OK is pressed, ends with exit code 0; the one left runs
# on and exits with code 0 on close.
#
#   instance_race.sh PROBE_EXE YOMITRON_EXE [STARTS]
set -uo pipefail
# shellcheck source-path=SCRIPTDIR/../e2e
source "$(dirname "$0")/../e2e/lib.sh"
[[ $# -eq 2 || $# -eq 3 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE [STARTS]" >&2; exit 2; }
e2e_init "$1"
program=$2
starts=${3:-20}

REFUSAL_CAPTION='yomitron'
REFUSAL_TEXT='既に起動されています。'
CLOCK_TEXT='^([01][0-9]|2[0-3])[: .][0-5][0-9]$'

dir=$E2E_ARTEFACTS/race
rm -rf "$dir"
mkdir -p "$dir"
cp "$program" "$dir/yomitron.exe"
log=$E2E_ARTEFACTS/race.log

# Every start waits at a gate (a FIFO) and goes once it opens: opening the FIFO for writing
# releases all the readers blocked in opening it.
gate=$dir/gate
mkfifo "$gate"
pids=()
for ((i = 0; i < starts; i++)); do
  (
    read -r _ <"$gate"
    exec wine "$dir/yomitron.exe" </dev/null >>"$log" 2>&1
  ) &
  pids+=("$!")
  E2E_PIDS+=("$!")
done
sleep 0.5
: >"$gate"
echo "instance race: $starts starts released"

e2e_wait_window 60000 || e2e_fatal "no instance showed its window"

# Answer the refusal boxes as they come, reading each before pressing it.
refused=0
wrong=()
deadline=$((SECONDS + 120))
while ((refused < starts - 1 && SECONDS < deadline)); do
  out=$(e2e_probe msgbox 2000 2>/dev/null) || continue
  caption=$(sed -n 1p <<<"$out")
  text=$(sed -n 2p <<<"$out")
  [[ $caption == "$REFUSAL_CAPTION" && $text == "$REFUSAL_TEXT" ]] || wrong+=("$caption / $text")
  if e2e_probe msgbox-press 1 >/dev/null 2>&1; then refused=$((refused + 1)); fi
done
assert_eq $((starts - 1)) "$refused" "refusal boxes answered"
assert_eq "" "${wrong[*]}" "every box was the refusal box"
sleep 1
assert_status 1 "no message box is left" e2e_probe msgbox 1000
assert_eq 1 "$(e2e_probe count-windows)" "exactly one main window"
assert_match "$CLOCK_TEXT" "$(e2e_readout)" "the running instance shows the clock"

# The refused starts end with 0; the one left running is the instance with the window.
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  alive=0
  for pid in "${pids[@]}"; do _e2e_alive "$pid" && alive=$((alive + 1)); done
  ((alive <= 1)) && break
  sleep 0.2
done
ended=0
zero=0
running=()
for pid in "${pids[@]}"; do
  if _e2e_alive "$pid"; then
    running+=("$pid")
  elif e2e_wait_exit 1 "$pid"; then
    ended=$((ended + 1))
    [[ $E2E_EXIT_CODE == 0 ]] && zero=$((zero + 1))
  fi
done
assert_eq $((starts - 1)) "$ended" "refused starts ended"
assert_eq "$ended" "$zero" "refused starts ended with exit code 0"
assert_eq 1 "${#running[@]}" "one instance still runs"

assert_status 0 "close" e2e_probe close
if ((${#running[@]} == 1)); then
  assert_status 0 "the running instance ends after close" e2e_wait_exit 15 "${running[0]}"
  assert_eq 0 "$E2E_EXIT_CODE" "its exit code"
fi
assert_status 0 "no main window is left" e2e_probe wait-gone 3000
e2e_finish
