#!/usr/bin/env bash
# The clock comes back by itself about a minute after the last tap, in real time, and then
# blinks its colon once a second.
#
#   e2e_idle_clock.sh PROBE_EXE YOMITRON_EXE
#
# Two taps 2 s apart: the display timer ticks every 10 s counted from the first of them, so the
# first tick a minute or more after the last tap comes 68 s after it. The readout is read only
# every few seconds while waiting.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/meter.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE" >&2; exit 2; }
e2e_init "$1"

e2e_start "$(meter_copy "$2" run)"
e2e_wait_window || e2e_fatal "the main window did not appear"

meter_play tap 2.0 tap
last_tap=$EPOCHREALTIME
assert_eq yes "$(meter_wait_speed 44 46 >/dev/null && echo yes)" "two taps 2 s apart show 45 km/h"

since_tap() {  # whole milliseconds since the last tap
  local now=$EPOCHREALTIME
  echo $(((${now/./} - ${last_tap/./}) / 1000))
}

# Until a minute has passed the speed stays.
steady=yes
for at in 10 20 30 40 50 59; do
  while (($(since_tap) < at * 1000)); do sleep 0.2; done
  text=$(e2e_readout)
  if [[ $text != " 45Km/h" && $text != " 44Km/h" && $text != " 46Km/h" ]]; then
    steady="no: '$text' ${at} s after the last tap"
    break
  fi
done
assert_eq yes "$steady" "the speed stays for a minute after the last tap"

# Then the clock comes back at the first 10 s tick after the minute.
while (($(since_tap) < 71000)); do
  text=$(e2e_readout)
  [[ $text =~ $METER_CLOCK ]] && break
  sleep 1
done
back=$(since_tap)
assert_match "$METER_CLOCK" "$text" "the clock is back by 71 s after the last tap"
echo "e2e: clock back ${back} ms after the last tap"
assert_status 0 "the clock came back 65..71 s after the last tap, at a 10 s tick ($back ms)" \
  test "$back" -ge 65000 -a "$back" -le 71000
e2e_screenshot clock

# Once a second the clock is written again, the colon shown on even seconds only.
declare -A forms=()
for ((i = 0; i < 12 && ${#forms[@]} < 2; i++)); do
  text=$(e2e_readout)
  [[ $text =~ $METER_CLOCK ]] && forms[${text:2:1}]=1
  sleep 0.4
done
assert_eq 2 "${#forms[@]}" "the colon blinks (both 'hh:nn' and 'hh nn' seen)"

e2e_finish
