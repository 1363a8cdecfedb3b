# shellcheck shell=bash
# Functions shared by the end-to-end tests of yomitron.exe itself, on top of lib.sh (source that
# first).
#
# Taps are played from a small script of words, all in one xdotool run so that nothing disturbs
# the rhythm; the readout is read only once the run is over.

# The clock text: hours and minutes, the colon replaced by a space on odd seconds.
METER_CLOCK='^[0-2][0-9][: ][0-5][0-9]$'

# Copies the program to a folder of its own in the artefacts (so that its settings file lands
# there, apart from every other run) and prints the copy's path.
meter_copy() {  # EXE FOLDER [FILE_NAME]
  local dir=$E2E_ARTEFACTS/$2
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$1" "$dir/${3:-yomitron.exe}"
  printf '%s\n' "$dir/${3:-yomitron.exe}"
}

# Plays WORDS over the readout's centre: "tap" a left click, "dbl" a double click, "key:NAME"
# an xdotool key, a number a pause in seconds. It first waits E2E_CLICK_GAP, so that its first
# click never makes a double click with one that came just before.
meter_play() {  # WORD...
  e2e_point label || return 1
  local args=(mousemove "$E2E_X" "$E2E_Y" sleep "$E2E_CLICK_GAP") word
  for word in "$@"; do
    case $word in
      tap) args+=(mousedown 1 mouseup 1) ;;
      dbl) args+=(mousedown 1 mouseup 1 sleep 0.08 mousedown 1 mouseup 1) ;;
      key:*) args+=(key --delay 0 "${word#key:}") ;;
      [0-9]*) args+=(sleep "$word") ;;
      *)
        echo "meter_play: unknown word '$word'" >&2
        return 1
        ;;
    esac
  done
  xdotool "${args[@]}"
}

# Waits until the readout is a speed text of LO..HI km/h (seven characters, the number
# right-aligned in three places) and prints the last readout seen.
meter_wait_speed() {  # LO HI [TIMEOUT_S]
  local lo=$1 hi=$2 deadline=$((SECONDS + ${3:-3})) text n
  while :; do
    text=$(e2e_readout)
    if [[ $text =~ ^\ *(-?[0-9]+)Km/h$ ]]; then
      n=${BASH_REMATCH[1]}
      if ((n >= lo && n <= hi)) && [[ $text == "$(printf '%3dKm/h' "$n")" ]]; then
        printf '%s\n' "$text"
        return 0
      fi
    fi
    if ((SECONDS >= deadline)); then
      printf '%s\n' "$text"
      return 1
    fi
    sleep 0.3
  done
}

# Waits until the readout shows the clock; prints the last readout seen.
meter_wait_clock() {  # [TIMEOUT_S]
  local deadline=$((SECONDS + ${1:-3})) text
  while :; do
    text=$(e2e_readout)
    if [[ $text =~ $METER_CLOCK ]] || ((SECONDS >= deadline)); then
      printf '%s\n' "$text"
      [[ $text =~ $METER_CLOCK ]]
      return
    fi
    sleep 0.3
  done
}

# Visible X windows of the running program's class: the taskbar window, the main window and,
# while it is open, the context menu.
meter_xwindow_count() {
  xdotool search --onlyvisible --class "$(basename "$E2E_EXE")" 2>/dev/null | wc -l
}

# Right-clicks PLACE and waits for a menu window to appear. Fails if none does.
meter_open_menu() {  # [label|frame]
  local before i
  before=$(meter_xwindow_count)
  e2e_right_click "${1:-label}" || return 1
  for ((i = 0; i < 30; i++)); do
    (($(meter_xwindow_count) > before)) && return 0
    sleep 0.1
  done
  return 1
}

# Waits until no menu window is left, only the two windows the program always has.
meter_wait_menu_closed() {
  local i
  for ((i = 0; i < 30; i++)); do
    (($(meter_xwindow_count) <= 2)) && return 0
    sleep 0.1
  done
  return 1
}

# Runs a probe command until it prints EXPECTED, for up to TIMEOUT_S; prints the last output.
meter_wait_probe() {  # EXPECTED TIMEOUT_S COMMAND [ARGS...]
  local expected=$1 deadline=$((SECONDS + $2)) out
  shift 2
  while :; do
    out=$(e2e_probe "$@")
    if [[ $out == "$expected" ]] || ((SECONDS >= deadline)); then
      printf '%s\n' "$out"
      [[ $out == "$expected" ]]
      return
    fi
    sleep 0.2
  done
}
