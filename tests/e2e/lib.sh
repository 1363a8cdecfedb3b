# shellcheck shell=bash
# Harness for end-to-end tests: runs Windows programs under Wine in the test display, drives them
# with real X input (xdotool) and reads their windows back through the probe.
#
# Source it from a test script, call e2e_init with the probe's path, then e2e_start, e2e_click,
# assert_eq ... and end with e2e_finish. The script runs inside the environment the test command
# sets up (WINEPREFIX, DISPLAY, WINEDEBUG, a running wineserver); this refuses to run without it.
#
# With no window manager, keyboard focus follows the pointer: keys go to the window under it, so
# click the window (or e2e_pointer_to it) before e2e_key / e2e_type.

E2E_PROBE=          # the probe executable (Linux path)
E2E_PID=            # the wine process of the program started last
E2E_EXE=            # and its executable
E2E_PIDS=()         # everything started; stopped when the script ends
E2E_EXIT_CODE=      # set by e2e_wait_exit
E2E_PASSED=0
E2E_FAILED=0
E2E_WINDOW=()       # left top right bottom of TForm1, its client area and the readout label,
E2E_CLIENT=()       # in screen pixels; set by e2e_rect
E2E_LABEL=()
E2E_X=              # the point e2e_point picked
E2E_Y=
# Two clicks on one spot closer than the double-click time (500 ms) make a double click.
# shellcheck disable=SC2034 # for the test scripts
E2E_CLICK_GAP=0.6

e2e_init() {  # PROBE_EXE
  if [[ -z ${WINEPREFIX:-} || -z ${DISPLAY:-} ]]; then
    echo "e2e: WINEPREFIX and DISPLAY are not set; run the tests through scripts/test.sh" >&2
    exit 2
  fi
  E2E_PROBE=$1
  if [[ ! -f $E2E_PROBE ]]; then
    echo "e2e: no probe at $E2E_PROBE" >&2
    exit 2
  fi
  local name
  name=$(basename "$0" .sh)
  E2E_ARTEFACTS=${E2E_ARTEFACTS:-$PWD/artefacts}/$name
  mkdir -p "$E2E_ARTEFACTS"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  echo "e2e: artefacts in $E2E_ARTEFACTS"
}

# Runs the probe with the given command; its output and exit code are the probe's.
e2e_probe() {  # COMMAND [ARGS...]
  wine "$E2E_PROBE" "$@" </dev/null
}

# A Linux path as Windows sees it: drive Z: is the Linux root in a Wine prefix.
e2e_winpath() {  # PATH
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# Starts a program in the background; its output goes to the artefact folder.
e2e_start() {  # EXE [ARGS...]
  E2E_EXE=$1
  local log
  log="$E2E_ARTEFACTS/$(basename "$1" .exe).log"
  wine "$@" </dev/null >>"$log" 2>&1 &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  E2E_WINDOW=() E2E_CLIENT=() E2E_LABEL=()
}

# Waits until a visible TForm1 with its readout is there and records its geometry.
e2e_wait_window() {  # [TIMEOUT_MS]
  e2e_probe wait-window "${1:-20000}" || return 1
  e2e_rect
}

e2e_readout() {
  e2e_probe readout
}

# Prints the last readout seen; fails if TEXT did not show within the time.
e2e_wait_readout() {  # TEXT [TIMEOUT_MS]
  e2e_probe wait-readout "$1" "${2:-5000}"
}

# Reads the geometry of TForm1, its client area and the label into E2E_WINDOW, E2E_CLIENT and
# E2E_LABEL. Clicks use the last geometry read: call this again after the window moves or resizes.
e2e_rect() {
  local out
  out=$(e2e_probe rect) || return 1
  local lines
  mapfile -t lines <<<"$out"
  [[ ${#lines[@]} -eq 3 ]] || return 1
  read -r -a E2E_WINDOW <<<"${lines[0]}"
  read -r -a E2E_CLIENT <<<"${lines[1]}"
  read -r -a E2E_LABEL <<<"${lines[2]}"
}

# Sets E2E_X and E2E_Y to a screen point: "label" (the readout's centre, the default), "frame"
# (the form around the panel: halfway between the client area's left edge and the label's, at
# the label's height), or "X Y".
e2e_point() {  # [label|frame|X Y]
  if [[ $# -eq 2 ]]; then
    E2E_X=$1 E2E_Y=$2
    return 0
  fi
  if [[ ${#E2E_LABEL[@]} -ne 4 ]]; then e2e_rect || return 1; fi
  local where=${1:-label}
  E2E_Y=$(((E2E_LABEL[1] + E2E_LABEL[3]) / 2))
  case $where in
    label) E2E_X=$(((E2E_LABEL[0] + E2E_LABEL[2]) / 2)) ;;
    frame) E2E_X=$(((E2E_CLIENT[0] + E2E_LABEL[0]) / 2)) ;;
    *)
      echo "e2e_point: unknown place '$where'" >&2
      return 1
      ;;
  esac
}

# Clicks with real X input. mousedown/mouseup rather than "click", which waits after each click.
# Clicks on one spot less than E2E_CLICK_GAP seconds apart arrive as a double click.
e2e_click() {  # [label|frame|X Y]
  e2e_point "$@" || return 1
  xdotool mousemove "$E2E_X" "$E2E_Y" mousedown 1 mouseup 1
}

e2e_double_click() {  # [label|frame|X Y]
  e2e_point "$@" || return 1
  xdotool mousemove "$E2E_X" "$E2E_Y" mousedown 1 mouseup 1 sleep 0.08 mousedown 1 mouseup 1
}

e2e_right_click() {  # [label|frame|X Y]
  e2e_point "$@" || return 1
  xdotool mousemove "$E2E_X" "$E2E_Y" mousedown 3 mouseup 3
}

# COUNT left clicks, INTERVAL seconds apart, timed by a single xdotool run so that nothing else
# (such as a probe reading the window) disturbs the rhythm.
e2e_taps() {  # COUNT INTERVAL_S [label|frame|X Y]
  local count=$1 interval=$2
  shift 2
  e2e_point "$@" || return 1
  local args=(mousemove "$E2E_X" "$E2E_Y") i
  for ((i = 0; i < count; i++)); do
    ((i > 0)) && args+=(sleep "$interval")
    args+=(mousedown 1 mouseup 1)
  done
  xdotool "${args[@]}"
}

# Moves the pointer without clicking, so that keys go to the window.
e2e_pointer_to() {  # [label|frame|X Y]
  e2e_point "$@" || return 1
  xdotool mousemove "$E2E_X" "$E2E_Y"
}

e2e_key() {  # KEY... (xdotool key names: space Return BackSpace Escape 0 a ...)
  xdotool key --delay 0 "$@"
}

e2e_type() {  # TEXT
  xdotool type --delay 20 -- "$1"
}

# The X window of the program's main window, for xdotool commands that need one: among the
# visible windows of the executable's class, the one at TForm1's position.
e2e_xwindow() {  # [EXE_NAME]
  local name=${1:-$(basename "$E2E_EXE")} ids id X Y
  ids=$(xdotool search --onlyvisible --class "$name" 2>/dev/null) || return 1
  if [[ ${#E2E_WINDOW[@]} -ne 4 ]]; then e2e_rect || return 1; fi
  for id in $ids; do
    eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^[XY]=')"
    if [[ $X == "${E2E_WINDOW[0]}" && $Y == "${E2E_WINDOW[1]}" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits for the program to end and sets E2E_EXIT_CODE (wine's exit code is the program's).
# Fails if it still runs after TIMEOUT_S. Call it directly, not in $( ): only this shell can
# collect its own child's exit code.
e2e_wait_exit() {  # [TIMEOUT_S] [PID]
  local timeout=${1:-10} pid=${2:-$E2E_PID} i
  E2E_EXIT_CODE=
  for ((i = 0; i < timeout * 10; i++)); do
    if ! _e2e_alive "$pid"; then
      wait "$pid"
      # shellcheck disable=SC2034 # read by the test script
      E2E_EXIT_CODE=$?
      _e2e_forget "$pid"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Running, as opposed to gone or a zombie (which stays until this shell collects it).
_e2e_alive() {  # PID
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}

# Stops a program this script started (by its PID only: other Wine programs may be running).
e2e_kill() {  # [PID]
  local pid=${1:-$E2E_PID} i
  if _e2e_alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null
    for ((i = 0; i < 20; i++)); do
      _e2e_alive "$pid" || break
      sleep 0.1
    done
    _e2e_alive "$pid" && kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  _e2e_forget "$pid"
  return 0
}

# Once collected, a PID may be reused by someone else's process: never signal it again.
_e2e_forget() {  # PID
  local kept=() p
  for p in "${E2E_PIDS[@]}"; do [[ $p == "$1" ]] || kept+=("$p"); done
  E2E_PIDS=("${kept[@]}")
}

# Saves the screen region of TForm1's window as NAME.png in the artefact folder.
e2e_screenshot() {  # NAME
  e2e_rect || return 1
  local l=${E2E_WINDOW[0]} t=${E2E_WINDOW[1]} r=${E2E_WINDOW[2]} b=${E2E_WINDOW[3]}
  ((l < 0)) && l=0
  ((t < 0)) && t=0
  local file="$E2E_ARTEFACTS/$1.png"
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$file" || return 1
  echo "e2e: screenshot $file"
}

_e2e_pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  echo "ok: $1"
}

_e2e_fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  echo "FAIL: $1"
}

assert_eq() {  # EXPECTED ACTUAL WHAT
  if [[ $1 == "$2" ]]; then
    _e2e_pass "$3"
  else
    _e2e_fail "$3: expected '$1', got '$2'"
  fi
}

assert_match() {  # REGEX ACTUAL WHAT
  if [[ $2 =~ $1 ]]; then
    _e2e_pass "$3"
  else
    _e2e_fail "$3: '$2' does not match /$1/"
  fi
}

# Runs COMMAND and checks its exit status.
assert_status() {  # EXPECTED WHAT COMMAND [ARGS...]
  local expected=$1 what=$2 status=0
  shift 2
  "$@" >/dev/null || status=$?
  assert_eq "$expected" "$status" "$what (exit status)"
}

# A check that makes the rest of the script pointless: counts as failed and ends the script.
e2e_fatal() {  # WHAT
  _e2e_fail "$1"
  e2e_finish
}

# Prints the tally and exits: non-zero if any check failed or none ran.
e2e_finish() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  if ((E2E_FAILED > 0 || E2E_PASSED == 0)); then exit 1; fi
  exit 0
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do e2e_kill "$pid"; done
  return 0
}
