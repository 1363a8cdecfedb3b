#!/usr/bin/env bash
# Tests the probe and the end-to-end harness against probe_target, a stand-in with the program's
# window classes and texts, so that a failing end-to-end test of the program itself points at the
# program rather than at the probe or the harness.
#
#   probe_selftest.sh PROBE_EXE TARGET_EXE
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE TARGET_EXE" >&2; exit 2; }
e2e_init "$1"
target=$2

inside() {  # OUTER INNER: the inner rectangle lies within the outer and is not empty
  local -a o i
  read -r -a o <<<"$1"
  read -r -a i <<<"$2"
  ((i[0] < i[2] && i[1] < i[3] && o[0] <= i[0] && o[1] <= i[1] && i[2] <= o[2] && i[3] <= o[3]))
}

wait_count() {  # N: count-windows reaches N within a few seconds
  local i
  for ((i = 0; i < 30; i++)); do
    [[ $(e2e_probe count-windows) == "$1" ]] && return 0
    sleep 0.2
  done
  return 1
}

caption='列車速度表示『ヨミトロン』'
app_title='ヨミトロン'

# --- Nothing running: absent windows are exit status 1, bad usage 2. ---
while read -r expected what args; do
  # shellcheck disable=SC2086 # the arguments are words on purpose
  assert_status "$expected" "$what" e2e_probe $args
done <<'TABLE'
1 no-window:readout        readout
1 no-window:exists         exists
1 no-window:visible        visible
1 no-window:rect           rect
1 no-window:caption        caption
1 no-window:app-title      app-title
1 no-window:close          close
1 no-window:pid            pid
0 no-window:wait-gone      wait-gone 0
1 no-window:wait-window    wait-window 300
1 no-dialog:msgbox         msgbox 300
1 no-dialog:msgbox-press   msgbox-press 1
2 usage:no-command
2 usage:unknown-command    frobnicate
2 usage:missing-timeout    wait-readout 120Km/h
2 usage:timeout-not-number msgbox soon
2 usage:negative-timeout   wait-window -5
2 usage:extra-argument     readout now
TABLE
assert_eq 0 "$(e2e_probe count-windows)" "no-window: count-windows"

# --- The main window: texts, flags, geometry. ---
e2e_start "$target" --exit-code 7
e2e_wait_window || e2e_fatal "the target's window did not appear"
assert_eq "  0Km/h" "$(e2e_readout)" "readout"
assert_eq "$caption" "$(e2e_probe caption)" "caption (UTF-8 output)"
assert_eq "$app_title" "$(e2e_probe app-title)" "app-title"
assert_status 0 "exists" e2e_probe exists
assert_eq 1 "$(e2e_probe count-windows)" "count-windows with one target"
assert_eq 1 "$(e2e_probe visible)" "visible"
assert_eq 0 "$(e2e_probe iconic)" "iconic"
assert_eq 0 "$(e2e_probe topmost)" "topmost"
assert_match '^[1-9][0-9]*$' "$(e2e_probe pid)" "pid is a process id"

# wait-readout: prints the last value it saw, whether or not the wait succeeds.
assert_eq "  0Km/h" "$(e2e_wait_readout "  0Km/h" 1000)" "wait-readout: present text"
out=$(e2e_wait_readout "999Km/h" 300)
assert_eq "1:  0Km/h" "$?:$out" "wait-readout: times out, prints the readout"

assert_eq 4:4:4 "${#E2E_WINDOW[@]}:${#E2E_CLIENT[@]}:${#E2E_LABEL[@]}" "rect: three rectangles"
assert_status 0 "rect: client inside window" inside "${E2E_WINDOW[*]}" "${E2E_CLIENT[*]}"
assert_status 0 "rect: label inside client" inside "${E2E_CLIENT[*]}" "${E2E_LABEL[*]}"
assert_status 1 "rect: window not inside label (the check can fail)" inside \
  "${E2E_LABEL[*]}" "${E2E_WINDOW[*]}"
e2e_point frame
assert_status 0 "frame point lies between client edge and label" \
  test "${E2E_CLIENT[0]}" -le "$E2E_X" -a "$E2E_X" -lt "${E2E_LABEL[0]}"

xwin=$(e2e_xwindow)
assert_match '^[0-9]+$' "$xwin" "xdotool finds the main window"
if [[ -n $xwin ]]; then
  geometry=$(xdotool getwindowgeometry --shell "$xwin" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')
  assert_eq "WIDTH=$((E2E_WINDOW[2] - E2E_WINDOW[0])) HEIGHT=$((E2E_WINDOW[3] - E2E_WINDOW[1])) " \
    "$geometry" "X window has the TForm1 window's size"
fi

# --- Real X input reaches the window. ---
e2e_click label
assert_eq "  1Km/h" "$(e2e_wait_readout "  1Km/h")" "left click on the label"
sleep "$E2E_CLICK_GAP"
e2e_click
assert_eq "  2Km/h" "$(e2e_wait_readout "  2Km/h")" "second left click"
sleep "$E2E_CLICK_GAP"
e2e_taps 3 0.7
assert_eq "  5Km/h" "$(e2e_wait_readout "  5Km/h")" "three timed taps"
sleep "$E2E_CLICK_GAP"
e2e_double_click
assert_eq "double" "$(e2e_wait_readout "double")" "double click"
sleep "$E2E_CLICK_GAP"
e2e_right_click
assert_eq "right" "$(e2e_wait_readout "right")" "right click"
e2e_click frame
assert_eq "frame" "$(e2e_wait_readout "frame")" "click on the frame"

e2e_pointer_to label
e2e_type "abc 1"
assert_eq "abc 1" "$(e2e_wait_readout "abc 1")" "typed text"
e2e_key BackSpace BackSpace
assert_eq "abc" "$(e2e_wait_readout "abc")" "BackSpace keys"
e2e_key x space y
assert_eq "abcx y" "$(e2e_wait_readout "abcx y")" "key names"

e2e_screenshot window
shot=$E2E_ARTEFACTS/window.png
assert_eq "$((E2E_WINDOW[2] - E2E_WINDOW[0]))x$((E2E_WINDOW[3] - E2E_WINDOW[1]))" \
  "$(identify -format '%wx%h' "$shot" 2>/dev/null)" "screenshot has the window's size"
# The readout is drawn green on black: the crop really shows the window, not an empty screen.
label_crop="$((E2E_LABEL[2] - E2E_LABEL[0]))x$((E2E_LABEL[3] - E2E_LABEL[1]))"
label_crop+="+$((E2E_LABEL[0] - E2E_WINDOW[0]))+$((E2E_LABEL[1] - E2E_WINDOW[1]))"
green=$(convert "$shot" -crop "$label_crop" +repage -format '%[fx:maxima.g>0.9 && minima.g<0.1]' info:)
assert_eq 1 "$green" "screenshot shows the readout"

# --- The resources linked into the target: the program's version information. ---
exe_win=$(e2e_winpath "$target")
while IFS='|' read -r key expected; do
  assert_eq "$expected" "$(e2e_probe version-info "$exe_win" "$key")" "version-info $key"
done <<'TABLE'
Fixed|2.1.0.0 2.1.0.0
Translation|0411 04b0
CompanyName|Yomitron project
FileDescription|列車速度表示『ヨミトロン』
FileVersion|2.1.0.0
InternalName|yomitron
OriginalFilename|yomitron.exe
ProductName|ヨミトロン
ProductVersion|V2.1
LegalCopyright|© 2026 Yomitron project
TABLE
assert_status 1 "version-info: missing string" e2e_probe version-info "$exe_win" Comments

# --- A second instance, then close: the program exits with its own exit code. ---
first=$E2E_PID
e2e_start "$target" --exit-code 3
second=$E2E_PID
assert_status 0 "count-windows with two targets" wait_count 2
e2e_kill "$second"
assert_status 0 "count-windows after killing one" wait_count 1
assert_status 0 "close" e2e_probe close
assert_status 0 "the target exits after close" e2e_wait_exit 10 "$first"
assert_eq 7 "$E2E_EXIT_CODE" "exit code after close"
assert_status 0 "window gone after close" e2e_probe wait-gone 3000
assert_status 1 "exists after close" e2e_probe exists

# --- Message boxes: caption and text in Japanese, pressing a button by id. ---
box_caption='ヨミトロン'
box_text='設定ファイルに書き込めません。'
e2e_start "$target" --exit-code 5 --msgbox "$box_caption" "$box_text"
out=$(e2e_probe msgbox 15000)
assert_eq "$box_caption" "$(sed -n 1p <<<"$out")" "msgbox caption"
assert_eq "$box_text" "$(sed -n 2p <<<"$out")" "msgbox text"
assert_status 1 "msgbox-press: an OK box has no Yes button" e2e_probe msgbox-press 6
assert_status 0 "msgbox-press OK" e2e_probe msgbox-press 1
assert_status 1 "message box gone after OK" e2e_probe msgbox 0
assert_status 0 "the target exits after OK" e2e_wait_exit 10
assert_eq 5 "$E2E_EXIT_CODE" "exit code after OK"

# Yes/No: the target exits with the id of the button pressed.
while read -r id name; do
  e2e_start "$target" --yesno "$box_caption" "終了しますか？"
  assert_status 0 "yes/no box appears ($name)" e2e_probe msgbox 15000
  assert_status 1 "yes/no box has no OK button ($name)" e2e_probe msgbox-press 1
  assert_status 0 "msgbox-press $name" e2e_probe msgbox-press "$id"
  e2e_wait_exit 10
  assert_eq "$id" "$E2E_EXIT_CODE" "exit code after $name"
done <<'TABLE'
6 Yes
7 No
TABLE

# --- The harness stops what it started. ---
e2e_start "$target"
e2e_wait_window || e2e_fatal "the target's window did not appear again"
e2e_kill
assert_status 0 "killed target's window goes away" e2e_probe wait-gone 5000

e2e_finish
