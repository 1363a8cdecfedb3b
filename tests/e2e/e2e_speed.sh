#!/usr/bin/env bash
# The speed readout of the real program, tapped with real X clicks and keys: one and two
# interval speeds, double clicks, start marks and the keys that tap or show the clock.
#
#   e2e_speed.sh PROBE_EXE YOMITRON_EXE
#
# Every case starts from the clock (Esc), so its first tap only starts a measurement and shows
# "  0Km/h", at any time of day.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/meter.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE" >&2; exit 2; }
e2e_init "$1"

e2e_start "$(meter_copy "$2" run)"
e2e_wait_window || e2e_fatal "the main window did not appear"
assert_match "$METER_CLOCK" "$(e2e_readout)" "the program starts with the clock"

# Expected km/h (LO HI, or "clock"), then what is played after Esc. X input has some jitter, so
# speeds get a tolerance of 1 km/h at 45 km/h, a little more where one km/h is fewer ms.
while IFS='|' read -r expected words what; do
  e2e_pointer_to label
  e2e_key Escape
  meter_wait_clock >/dev/null || e2e_fatal "Esc did not bring the clock back before: $what"
  # shellcheck disable=SC2086 # the words are separate on purpose
  meter_play $words
  if [[ $expected == *clock* ]]; then
    assert_match "$METER_CLOCK" "$(meter_wait_clock)" "$what"
  else
    read -r lo hi <<<"$expected"
    out=$(meter_wait_speed "$lo" "$hi") && seen=yes || seen=no
    assert_eq yes "$seen" "$what: readout '$out', expected $lo..$hi km/h"
  fi
done <<'TABLE'
0 0     |tap                            |first tap starts the measurement
44 46   |tap 2.0 tap                    |taps 2.0 s apart: 45 km/h
88 92   |tap 1.0 tap                    |second tap above 60 km/h: one interval, no earlier tap yet
111 115 |tap 1.0 tap 0.6 tap            |third tap above 60 km/h: two intervals (not 150)
44 46   |tap 0.5 tap 2.0 tap            |below 60 km/h one interval counts (not 72)
44 46   |tap 2.0 dbl                    |a double click counts one tap (not 87)
73 78   |tap 2.0 dbl 0.3 tap            |a click right after a double click counts again
44 46   |tap 2.0 key:space              |Space is a tap
44 46   |tap 2.0 key:Return             |Return is a tap
44 46   |tap 2.0 key:a                  |a letter is a tap
44 46   |tap 2.0 key:5                  |a digit other than 0 is a tap
0 0     |tap 2.0 key:0                  |"0" is a start mark, not a tap
0 0     |tap 2.0 key:BackSpace          |BackSpace is a start mark
44 46   |tap 0.5 key:0 2.0 tap          |a tap after "0" measures from the mark (not 36)
44 46   |tap 0.5 key:BackSpace 2.0 tap  |a tap after BackSpace measures from the mark
67 72   |tap 1.0 tap 1.0 key:0 0.6 tap  |the mark keeps the earlier tap for averaging
clock   |tap 2.0 tap 0.3 key:Escape     |Esc shows the clock at once
TABLE

# The clock's one-second ticks leave a start mark alone: it stays for a minute.
e2e_key Escape
meter_wait_clock >/dev/null
e2e_key 0
assert_eq "  0Km/h" "$(e2e_wait_readout "  0Km/h" 2000)" "0 while the clock shows"
sleep 2.5
assert_eq "  0Km/h" "$(e2e_readout)" "the start mark stays over the clock's ticks"

e2e_finish
