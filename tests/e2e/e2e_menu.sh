#!/usr/bin/env bash
# The context menu of the real program, opened with a real right click and driven by the items'
# access keys: clock, stay on top, minimise and exit. Only the readout has the menu.
#
#   e2e_menu.sh PROBE_EXE YOMITRON_EXE
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/meter.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE" >&2; exit 2; }
e2e_init "$1"

e2e_start "$(meter_copy "$2" first)"
e2e_wait_window || e2e_fatal "the main window did not appear"
first=$E2E_PID

# --- The frame around the readout has no menu: the key typed next reaches the window. ---
e2e_right_click frame
sleep 0.5  # time for a menu to open, if one wrongly did
assert_eq 2 "$(meter_xwindow_count)" "a right click on the frame opens no menu"
e2e_pointer_to label
e2e_key e
assert_eq "  0Km/h" "$(e2e_wait_readout "  0Km/h" 2000)" "then 'e' is a tap, not the exit item"
assert_status 0 "the program still runs after 'e'" _e2e_alive "$first"

# --- 時刻を表示(&C): enabled by the tap, it shows the clock and is disabled again. ---
assert_status 0 "a right click on the readout opens the menu" meter_open_menu label
import -window root "$E2E_ARTEFACTS/menu.png" && echo "e2e: screenshot $E2E_ARTEFACTS/menu.png"
e2e_key c
assert_match "$METER_CLOCK" "$(meter_wait_clock)" "'c' shows the clock"
assert_status 0 "the menu closes after 'c'" meter_wait_menu_closed

# Now greyed, its access key only closes the menu; the next click is a tap again.
assert_status 0 "the menu opens again" meter_open_menu label
e2e_key c
assert_status 0 "'c' on the disabled item closes the menu" meter_wait_menu_closed
assert_match "$METER_CLOCK" "$(e2e_readout)" "the clock still shows"
meter_play tap
assert_eq "  0Km/h" "$(e2e_wait_readout "  0Km/h" 2000)" "a click after the closed menu is a tap"

# --- 常に前面に表示(&D) toggles the topmost band. ---
assert_eq 0 "$(e2e_probe topmost)" "not topmost at first"
for expected in 1 0; do
  assert_status 0 "menu for stay on top -> $expected" meter_open_menu label
  e2e_key d
  assert_eq "$expected" "$(meter_wait_probe "$expected" 3 topmost)" "'d' makes topmost $expected"
  meter_wait_menu_closed
done

# --- 最小化(&M) hides the window into its taskbar entry; the program keeps its state. ---
assert_status 0 "menu for minimise" meter_open_menu label
e2e_key m
assert_eq 0 "$(meter_wait_probe 0 3 visible)" "'m' minimises: the window is not visible"
assert_eq "  0Km/h" "$(e2e_readout)" "the readout is kept while minimised"
assert_status 0 "the program still runs when minimised" _e2e_alive "$first"
e2e_probe close
e2e_wait_exit 10 "$first"
assert_eq 0 "$E2E_EXIT_CODE" "closed while minimised: exit code"

# --- 終了(&E) ends the program. ---
e2e_start "$(meter_copy "$2" second)"
e2e_wait_window || e2e_fatal "the main window did not appear for the exit test"
assert_status 0 "menu for exit" meter_open_menu label
e2e_key e
assert_status 0 "'e' ends the program" e2e_wait_exit 10
assert_eq 0 "$E2E_EXIT_CODE" "exit code after 'e'"
assert_eq 0 "$(e2e_probe count-windows)" "no main window is left"

e2e_finish
