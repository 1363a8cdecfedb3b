#!/usr/bin/env bash
# Endurance: about a minute of random input on the readout through real X events: clicks, double
# clicks and typed keys ("0", BackSpace, Escape, space, Return, letters), in bursts with random
# gaps, some of them none at all. Between bursts it answers any message box, and now and then
# reads the readout. The program must not crash; the readout is always a speed text (seven
# characters ending in "Km/h") or the clock; the only error box is the one for two taps in the
# same millisecond; and at the end the program still answers and exits with code 0 on close.
#
#   input_storm.sh PROBE_EXE YOMITRON_EXE [SECONDS]
#
# STORM_SEED=N replays the storm of an earlier run (each run prints its seed).
set -uo pipefail
# shellcheck source-path=SCRIPTDIR/../e2e
source "$(dirname "$0")/../e2e/lib.sh"
[[ $# -eq 2 || $# -eq 3 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE [SECONDS]" >&2; exit 2; }
e2e_init "$1"
program=$2
duration=${3:-60}

SPEED_TEXT='^(  [0-9]| [1-9][0-9]|[0-9]{3})Km/h$'
CLOCK_TEXT='^([01][0-9]|2[0-3])[: .][0-5][0-9]$'
ERROR_CAPTION='ヨミトロン'
ERROR_TEXT='0 による浮動小数点数除算.'
KEYS=(0 BackSpace Escape space Return a b k m x z)
# Pauses after an action, in seconds; "0" follows at once, often within the same millisecond.
GAPS=(0 0 0.005 0.01 0.03)
ACTIONS_PER_BURST=120

seed=${STORM_SEED:-$((($(date +%s%N) / 1000) % 32768))}
RANDOM=$seed
echo "input storm: seed $seed, $duration s"

dir=$E2E_ARTEFACTS/program
rm -rf "$dir"
mkdir -p "$dir"
cp "$program" "$dir/yomitron.exe"
e2e_start "$dir/yomitron.exe"
e2e_wait_window || e2e_fatal "the window did not appear"
e2e_point label
storm_x=$E2E_X
storm_y=$E2E_Y

actions=0
bursts=0
failed_bursts=0
samples=0
speeds=0
bad_samples=()
boxes=0
bad_boxes=()
crashed=0

# One burst of random actions, played by a single xdotool run so that nothing slows it down.
burst() {
  local args=(mousemove "$storm_x" "$storm_y") n pick gap
  for ((n = 0; n < ACTIONS_PER_BURST; n++)); do
    pick=$((RANDOM % 100))
    if ((pick < 50)); then
      args+=(mousedown 1 mouseup 1)
    elif ((pick < 60)); then
      args+=(mousedown 1 mouseup 1 sleep 0.08 mousedown 1 mouseup 1)
    else
      args+=(key --delay 0 "${KEYS[RANDOM % ${#KEYS[@]}]}")
    fi
    gap=${GAPS[RANDOM % ${#GAPS[@]}]}
    [[ $gap == 0 ]] || args+=(sleep "$gap")
  done
  actions=$((actions + ACTIONS_PER_BURST))
  bursts=$((bursts + 1))
  xdotool "${args[@]}" || failed_bursts=$((failed_bursts + 1))
}

# Answers every open message box, checking it is the same-millisecond tap's error report.
answer_boxes() {
  local out caption text
  while out=$(e2e_probe msgbox 0 2>/dev/null); do
    caption=$(sed -n 1p <<<"$out")
    text=$(sed -n 2p <<<"$out")
    boxes=$((boxes + 1))
    if [[ $caption != "$ERROR_CAPTION" || $text != "$ERROR_TEXT" ]]; then
      bad_boxes+=("$caption / $text")
    fi
    e2e_probe msgbox-press 1 >/dev/null 2>&1 || {
      bad_boxes+=("a box that OK did not close: $caption / $text")
      return 1
    }
  done
  return 0
}

is_readout() {  # TEXT
  [[ $1 =~ $SPEED_TEXT || $1 =~ $CLOCK_TEXT ]]
}

sample_readout() {
  local text
  samples=$((samples + 1))
  if ! text=$(e2e_readout 2>/dev/null); then
    bad_samples+=("(no answer)")
    return
  fi
  if [[ $text =~ $SPEED_TEXT ]]; then
    speeds=$((speeds + 1))
  elif ! [[ $text =~ $CLOCK_TEXT ]]; then
    bad_samples+=("'$text'")
  fi
}

end=$((SECONDS + duration))
while ((SECONDS < end)); do
  burst
  sleep 0.3
  if ! _e2e_alive "$E2E_PID"; then
    crashed=1
    break
  fi
  answer_boxes || break
  ((bursts % 3 == 0)) && sample_readout
done
echo "input storm: $actions actions in $bursts bursts, $boxes error boxes, $samples samples"

assert_eq 0 "$crashed" "the program survived the storm"
((crashed)) && e2e_finish
assert_eq 0 "$failed_bursts" "xdotool played every burst"
assert_status 0 "input reached the program: a speed was read at least once" test "$speeds" -gt 0
assert_eq "" "${bad_samples[*]}" "each of $samples readouts was a speed text or the clock"
assert_eq "" "${bad_boxes[*]}" "each of $boxes message boxes was the same-millisecond error"

# Whatever the storm left open is answered; then the program is still itself.
sleep 1
answer_boxes
assert_status 1 "no message box is left open" e2e_probe msgbox 0
readout=$(e2e_readout)
assert_status 0 "the readout still answers: '$readout'" is_readout "$readout"
assert_eq 1 "$(e2e_probe count-windows)" "one main window"
assert_status 0 "close" e2e_probe close
assert_status 0 "the program ends after close" e2e_wait_exit 15
assert_eq 0 "$E2E_EXIT_CODE" "exit code after close"
e2e_finish
