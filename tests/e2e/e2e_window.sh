#!/usr/bin/env bash
# What the real program's window looks like: its titles, its default size, the framed panel
# and the readout text centred in it. Leaves screenshots of the clock and of a speed.
#
#   e2e_window.sh PROBE_EXE YOMITRON_EXE
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/meter.sh"
[[ $# -eq 2 ]] || { echo "usage: $0 PROBE_EXE YOMITRON_EXE" >&2; exit 2; }
e2e_init "$1"

e2e_start "$(meter_copy "$2" run)"
e2e_wait_window || e2e_fatal "the main window did not appear"

assert_eq "ヨミトロン" "$(e2e_probe app-title)" "the taskbar entry"
assert_eq "列車速度表示『ヨミトロン』" "$(e2e_probe caption)" "the window caption"
assert_eq "260x108" "$((E2E_WINDOW[2] - E2E_WINDOW[0]))x$((E2E_WINDOW[3] - E2E_WINDOW[1]))" \
  "default outer size without a settings file"
inset=()
for i in 0 1; do inset+=($((E2E_LABEL[i] - E2E_CLIENT[i]))); done
for i in 2 3; do inset+=($((E2E_CLIENT[i] - E2E_LABEL[i]))); done
assert_eq "5 5 5 5" "${inset[*]}" "the readout fills the client area less the 5-pixel frame"

# Intensity 0..255 of a pixel of a screenshot, at client-area coordinates.
shot_pixel() {  # FILE X Y
  local x=$(($2 + E2E_CLIENT[0] - E2E_WINDOW[0])) y=$(($3 + E2E_CLIENT[1] - E2E_WINDOW[1]))
  convert "$1" -format "%[fx:round(255*p{$x,$y}.intensity)]" info:
}

# The frame, from the outside in, compared with the panel's face colour: a sunken edge (dark
# top and left, light bottom right), a raised bevel (light top and left, dark bottom and right),
# then a margin of the face colour.
check_frame() {  # FILE WHAT
  local file=$1 what=$2 w=$((E2E_CLIENT[2] - E2E_CLIENT[0])) h=$((E2E_CLIENT[3] - E2E_CLIENT[1]))
  local face left top right bottom row=() d
  face=$(shot_pixel "$file" 4 $((h / 2)))
  # On the left and top edge d pixels in; on the right and bottom edge d + 1 pixels in.
  for d in 0 1 2 3; do
    left=$(shot_pixel "$file" "$d" $((h / 2)))
    top=$(shot_pixel "$file" $((w / 3)) "$d")
    right=$(shot_pixel "$file" $((w - 1 - d)) $((h / 2)))
    bottom=$(shot_pixel "$file" $((w / 3)) $((h - 1 - d)))
    row+=("$(cmp_face "$left" "$face")$(cmp_face "$top" "$face")$(cmp_face "$right" \
      "$face")$(cmp_face "$bottom" "$face")")
  done
  # Per ring: left, top, right, bottom, each darker (-), lighter (+) or equal (=) to the face.
  assert_eq "-- -- ++ ++" "${row[0]:0:2} ${row[1]:0:2} ${row[2]:0:2} ${row[3]:0:2}" \
    "$what: sunken edge then raised bevel on the left and top"
  assert_eq "+ - -" "${row[0]:2:1} ${row[2]:2:1} ${row[3]:2:1}" \
    "$what: light outer edge, then the bevel's shadow on the right"
  assert_eq "+ - -" "${row[0]:3:1} ${row[2]:3:1} ${row[3]:3:1}" \
    "$what: light outer edge, then the bevel's shadow at the bottom"
}

cmp_face() {  # VALUE FACE
  if (($1 < $2)); then printf -- -; elif (($1 > $2)); then printf +; else printf '='; fi
}

# The bounding box of the text's ink in the readout must be centred in the readout.
check_centred() {  # FILE WHAT
  local file=$1 what=$2 crop box w h x y
  crop="$((E2E_LABEL[2] - E2E_LABEL[0]))x$((E2E_LABEL[3] - E2E_LABEL[1]))"
  crop+="+$((E2E_LABEL[0] - E2E_WINDOW[0]))+$((E2E_LABEL[1] - E2E_WINDOW[1]))"
  box=$(convert "$file" -crop "$crop" +repage -fuzz 20% -trim -format '%w %h %X %Y' info:)
  read -r w h x y <<<"$box"
  local lw=$((E2E_LABEL[2] - E2E_LABEL[0])) lh=$((E2E_LABEL[3] - E2E_LABEL[1]))
  local dx=$((2 * ${x#+} + w - lw)) dy=$((2 * ${y#+} + h - lh))
  echo "e2e: $what: text ${w}x$h at ${x#+},${y#+} in ${lw}x$lh"
  assert_status 0 "$what: text centred across (ink box $box)" test "${dx#-}" -le 6
  # The cell, not the ink, is centred: digits sit a little above the middle.
  assert_status 0 "$what: text centred down (ink box $box)" test "${dy#-}" -le 12
  assert_status 0 "$what: text is large (ink box $box)" test "$h" -ge $((lh / 3))
}

assert_match "$METER_CLOCK" "$(e2e_readout)" "the window starts with the clock"
e2e_screenshot clock
check_frame "$E2E_ARTEFACTS/clock.png" clock
check_centred "$E2E_ARTEFACTS/clock.png" clock

# A three-digit speed fills all seven places, with no spaces to shift the ink.
meter_play tap 1.0 tap 0.6 tap
assert_eq yes "$(meter_wait_speed 100 199 >/dev/null && echo yes)" "a three-digit speed shows"
e2e_screenshot speed
check_frame "$E2E_ARTEFACTS/speed.png" speed
check_centred "$E2E_ARTEFACTS/speed.png" speed

e2e_finish
