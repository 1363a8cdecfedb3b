#!/usr/bin/env bash
# Only one instance per executable file name: a second start shows the refusal box and ends;
# other file names run beside it; after the first has ended, or was killed, a start runs again.
#
#   e2e_instance.sh PROBE_EXE YOMITRON_EXE
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/meter.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE" >&2; exit 2; }
e2e_init "$1"
program=$2

no_msgbox() {  # succeeds when no message box is open
  ! e2e_probe msgbox 0 >/dev/null 2>&1
}

# Starts EXE while WINDOWS main windows are up and checks that it is refused with CAPTION.
check_refused() {  # EXE CAPTION WINDOWS WHAT
  local exe=$1 caption=$2 windows=$3 what=$4 out
  e2e_start "$exe"
  out=$(e2e_probe msgbox 15000)
  assert_eq "$caption" "$(sed -n 1p <<<"$out")" "$what: refusal caption"
  assert_eq "既に起動されています。" "$(sed -n 2p <<<"$out")" "$what: refusal text"
  assert_eq "$windows" "$(e2e_probe count-windows)" "$what: no new main window with the box"
  assert_status 0 "$what: OK pressed" e2e_probe msgbox-press 1
  assert_status 0 "$what: the refused start ends" e2e_wait_exit 10
  assert_eq 0 "$E2E_EXIT_CODE" "$what: exit code"
  assert_eq "$windows" "$(e2e_probe count-windows)" "$what: no main window is left behind"
  assert_status 1 "$what: no settings file written" test -e "${exe%.*}.ini"
}

first_exe=$(meter_copy "$program" one)
e2e_start "$first_exe"
e2e_wait_window || e2e_fatal "the first instance did not show its window"
first=$E2E_PID
assert_eq 1 "$(e2e_probe count-windows)" "the first instance runs"

# --- The same file name is refused, wherever the copy lies. ---
check_refused "$first_exe" yomitron 1 "the same executable again"
check_refused "$(meter_copy "$program" two)" yomitron 1 "the same file name in another folder"

# --- Other file names run beside it, and are refused in their turn, by their own name. ---
while read -r name caption what; do
  exe=$(meter_copy "$program" "beside-$caption" "$name")
  e2e_start "$exe"
  beside=$E2E_PID
  assert_eq 2 "$(meter_wait_probe 2 15 count-windows)" "$what runs beside the first"
  assert_status 0 "$what: no refusal box" no_msgbox
  check_refused "$exe" "$caption" 2 "$what, started again"
  e2e_kill "$beside"
  assert_eq 1 "$(meter_wait_probe 1 5 count-windows)" "$what stopped"
done <<'TABLE'
meter2.exe   meter2    another file name
YOMITRON.exe YOMITRON  the name in other letter case
my.meter.exe my.meter  a name with two dots
TABLE

# --- After the first instance has ended, a start runs normally. ---
e2e_probe close
assert_status 0 "the first instance ends on close" e2e_wait_exit 10 "$first"
assert_eq 0 "$E2E_EXIT_CODE" "the first instance's exit code"
e2e_start "$first_exe"
assert_status 0 "a start after the first has ended shows its window" e2e_wait_window
assert_status 0 "and no refusal box" no_msgbox
assert_eq 1 "$(e2e_probe count-windows)" "one main window again"

# --- Also after it was killed: the guard goes with the process. ---
killed=$E2E_PID
kill -KILL "$killed"
e2e_kill "$killed"
assert_status 0 "the killed instance's window goes away" e2e_probe wait-gone 5000
e2e_start "$first_exe"
assert_status 0 "a start after a kill shows its window" e2e_wait_window
assert_status 0 "and no refusal box" no_msgbox
assert_eq 1 "$(e2e_probe count-windows)" "one main window after the kill"

e2e_finish
