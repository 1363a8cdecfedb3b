#!/usr/bin/env bash
# Benchmarks: measures the program against the floor (bench/floor: one window, one line of text,
# a 1 s timer, same toolchain and flags) side by side under the same Wine and virtual display,
# and prints a table of figures, goals and whether each is met. Builds what it needs first.
#
#   bench/run.sh [FIGURE...]   FIGURE: startup memory size resize taps idle (default: all)
#
# A full run takes about seven minutes on two cores. The table also goes to
# $YOMITRON_BUILD/bench/results.txt, the details behind it to details.txt beside it.
# (With pipefail, no "head" in a pipe: a writer it stops reading from would fail the script.)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR/..
source "$(dirname "$0")/../scripts/common.sh"
cd "$YOMITRON_ROOT"

figures=("$@")
[[ ${#figures[@]} -gt 0 ]] || figures=(startup memory size resize taps idle)
for figure in "${figures[@]}"; do
  case $figure in
    startup | memory | size | resize | taps | idle) ;;
    *)
      echo "usage: $0 [startup|memory|size|resize|taps|idle]..." >&2
      exit 2
      ;;
  esac
done

BUILD=$YOMITRON_BUILD/windows
WORK=$YOMITRON_BUILD/bench
PROBE=$BUILD/tools/probe.exe
MEMPROBE=$BUILD/bench/memprobe.exe
STARTWATCH=$BUILD/bench/startwatch.exe
RESIZE_BENCH=$BUILD/bench/resize_bench.exe
PROGRAM=$WORK/program/yomitron.exe  # copies, so that the settings file stays in the work folder
FLOOR=$WORK/floor/floor.exe
FLOOR_IMPORTS=$WORK/floor/floor_imports.exe  # the floor with the program's DLLs and COM
LOG=$WORK/wine.log
DETAILS=$WORK/details.txt

ROWS=()     # figure|program|floor|comparison|goal|met
PIDS=()     # wine processes started here, stopped at the end
SLEEP_FD=   # a descriptor that never has data: read -t on it sleeps without a process

# --- Common -----------------------------------------------------------------------------------

note() {  # TEXT: a line of the details
  printf '%s\n' "$*" >>"$DETAILS"
}

row() {  # FIGURE PROGRAM FLOOR COMPARISON GOAL MET
  ROWS+=("$1|$2|$3|$4|$5|$6")
}

calc() {  # AWK_EXPRESSION: prints its value
  awk "BEGIN { print $1 }" </dev/null
}

one_decimal() {  # AWK_EXPRESSION
  printf '%.1f' "$(calc "$1")"
}

yes_no() {  # AWK_CONDITION
  if [[ $(calc "($1) ? 1 : 0") == 1 ]]; then echo yes; else echo NO; fi
}

median() {  # NUMBER...
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

now_us() {  # sets NOW_US: microseconds since 1970, without starting a process
  NOW_US=${EPOCHREALTIME/./}
}

sleep_until() {  # MICROSECONDS_SINCE_1970: sleeps, then spins the last two milliseconds
  now_us
  local left=$(($1 - NOW_US - 2000))
  if ((left > 0)); then
    read -rt "$((left / 1000000)).$(printf '%06d' $((left % 1000000)))" -u "$SLEEP_FD" || true
  fi
  now_us
  while ((NOW_US < $1)); do now_us; done
}

pause() {  # SECONDS (may be fractional)
  read -rt "$1" -u "$SLEEP_FD" || true
}

start() {  # EXE [ARGS...]: starts it under wine; its process id goes to STARTED
  wine "$@" </dev/null >>"$LOG" 2>&1 &
  STARTED=$!
  PIDS+=("$STARTED")
}

alive() {  # PID: running, not gone or a zombie
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}

wait_exit() {  # PID [TIMEOUT_S]: collects it once it ends; kills it after the time
  local i
  for ((i = 0; i < ${2:-15} * 20; i++)); do
    alive "$1" || break
    pause 0.05
  done
  if alive "$1"; then
    kill -KILL "$1" 2>/dev/null || true
    echo "bench: process $1 did not end; killed" >&2
  fi
  wait "$1" 2>/dev/null || true
  local kept=() p
  for p in "${PIDS[@]}"; do [[ $p == "$1" ]] || kept+=("$p"); done
  PIDS=("${kept[@]}")
}

close_program() {  # EXE_NAME PID: closes the window as its close box does and waits
  wine "$MEMPROBE" close "$1" </dev/null >>"$LOG" 2>&1 || true
  wait_exit "$2"
}

# Waits until the named process has its window, then lets it settle.
wait_ready() {  # EXE_NAME
  local i
  for ((i = 0; i < 100; i++)); do
    wine "$MEMPROBE" memory "$1" </dev/null >/dev/null 2>&1 && break
    pause 0.2
  done
  wine "$PROBE" wait-window 20000 </dev/null >/dev/null
  pause 2
}

value() {  # KEY TEXT: the value of a key=value line (Windows programs end lines with CR LF)
  tr -d '\r' <<<"$2" | sed -n "s/^$1=//p" | sed -n 1p
}

cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do
    if alive "$pid"; then kill -KILL "$pid" 2>/dev/null || true; fi
    wait "$pid" 2>/dev/null || true
  done
  yomitron_wine_down
}

# --- 1. Start-up -------------------------------------------------------------------------------

# One start: from launching wine until the window shows its readout (seen by startwatch, which
# then closes it). Sets START_MS.
start_once() {  # EXE
  local out=$WORK/startwatch.out
  : >"$out"
  wine "$STARTWATCH" 30000 </dev/null >"$out" 2>>"$LOG" &
  local watcher=$!
  PIDS+=("$watcher")
  local i
  for ((i = 0; i < 2000; i++)); do
    grep -q '^ready' "$out" && break
    pause 0.01
  done
  now_us
  local t0=$NOW_US
  start "$1"
  local program=$STARTED
  wait_exit "$watcher" 40
  local seen
  seen=$(value seen_ns "$(cat "$out")")
  wait_exit "$program" 20
  if [[ -z $seen ]]; then
    START_MS=nan
    return 1
  fi
  START_MS=$(calc "($seen / 1000 - $t0) / 1000")
}

bench_startup() {
  echo "start-up: 1 warm-up + 7 starts each, alternating"
  local p=() f=() fi=() i
  start_once "$PROGRAM" || true
  start_once "$FLOOR" || true
  start_once "$FLOOR_IMPORTS" || true
  for ((i = 0; i < 7; i++)); do
    start_once "$PROGRAM" || true
    p+=("$START_MS")
    start_once "$FLOOR" || true
    f+=("$START_MS")
    start_once "$FLOOR_IMPORTS" || true
    fi+=("$START_MS")
  done
  note "start-up ms, program: ${p[*]}"
  note "start-up ms, floor:   ${f[*]}"
  note "start-up ms, floor with the program's DLLs and COM: ${fi[*]}"
  local pm fm
  pm=$(median "${p[@]}")
  fm=$(median "${f[@]}")
  note "start-up medians: program $pm ms, floor $fm ms, floor with the program's DLLs" \
    "$(median "${fi[@]}") ms"
  row "Start-up to readout (ms, median of 7)" "$(printf '%.0f' "$pm")" "$(printf '%.0f' "$fm")" \
    "$(printf '%.2f x' "$(calc "$pm / $fm")")" "<= 1.2 x floor" "$(yes_no "$pm <= 1.2 * $fm")"
}

# --- 2. Memory ---------------------------------------------------------------------------------

memory_of() {  # EXE_NAME: prints memprobe's key=value lines
  wine "$MEMPROBE" memory "$1" </dev/null | tr -d '\r'
}

# Resident memory by mapping (Linux view), program minus floor: what the difference is made of.
rss_by_mapping() {  # PID
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "") ? "[anonymous]" : $6 }
       /^Rss:/ { rss[name] += $2 }
       END { for (n in rss) print n, rss[n] }' "/proc/$1/smaps"
}

bench_memory() {
  echo "memory: program and floor side by side, two rounds of 3600 ticks and 1000 taps"
  start "$PROGRAM"
  local program=$STARTED
  start "$FLOOR" 16 16
  local floor=$STARTED
  start "$FLOOR_IMPORTS" 16 300
  local floor_imports=$STARTED
  wait_ready yomitron.exe
  wait_ready floor.exe
  wait_ready floor_imports.exe
  note "memory after start, floor with the program's DLLs and COM:" \
    "$(memory_of floor_imports.exe | tr '\n' ' ')"
  close_program floor_imports.exe "$floor_imports"
  local m0 f0 m1 f1 m2 f2 round out exe
  m0=$(memory_of yomitron.exe)
  f0=$(memory_of floor.exe)
  for round in 1 2; do
    for exe in yomitron.exe floor.exe; do
      out=$(wine "$MEMPROBE" load "$exe" 3600 1000 </dev/null | tr -d '\r') ||
        note "load $exe failed: $out"
      note "round $round, $exe: $(tr '\n' ' ' <<<"$out")"
      [[ $(value error_boxes "$out") == 0 ]] || note "round $round: $exe showed error boxes"
    done
    pause 1
    if ((round == 1)); then
      m1=$(memory_of yomitron.exe)
      f1=$(memory_of floor.exe)
    else
      m2=$(memory_of yomitron.exe)
      f2=$(memory_of floor.exe)
    fi
  done
  note "memory after start, program: $(tr '\n' ' ' <<<"$m0")"
  note "memory after start, floor:   $(tr '\n' ' ' <<<"$f0")"
  note "memory after round 2, program: $(tr '\n' ' ' <<<"$m2")"
  note "memory after round 2, floor:   $(tr '\n' ' ' <<<"$f2")"
  note "resident KiB by mapping, program minus floor (largest differences):"
  LC_ALL=C join -a1 -a2 -e 0 -o 0,1.2,2.2 <(rss_by_mapping "$program" | LC_ALL=C sort) \
    <(rss_by_mapping "$floor" | LC_ALL=C sort) | awk '{ printf "%7d  %s\n", $2 - $3, $1 }' |
    sort -rn | sed -n 1,12p >>"$DETAILS"
  close_program yomitron.exe "$program"
  close_program floor.exe "$floor"

  local mib=1048576 pp fp pws fws
  pp=$(value peak_working_set "$m2")
  fp=$(value peak_working_set "$f2")
  row "Memory: peak working set after load (MiB)" "$(one_decimal "$pp / $mib")" \
    "$(one_decimal "$fp / $mib")" \
    "$(printf '%+.1f MiB' "$(calc "($pp - $fp) / $mib")")" "<= floor + 2 MiB" \
    "$(yes_no "$pp <= $fp + 2 * $mib")"
  pws=$(value working_set "$m0")
  fws=$(value working_set "$f0")
  row "Memory: working set after start (MiB)" "$(one_decimal "$pws / $mib")" \
    "$(one_decimal "$fws / $mib")" \
    "$(printf '%+.1f MiB' "$(calc "($pws - $fws) / $mib")")" "(for reference)" "-"
  local key growth=() floor_growth=() limit=65536 met=yes
  for key in working_set private; do
    growth+=("$(($(value "$key" "$m2") - $(value "$key" "$m1")))")
    floor_growth+=("$(($(value "$key" "$f2") - $(value "$key" "$f1")))")
  done
  ((growth[0] <= limit && growth[1] <= limit)) || met=NO
  row "Memory: growth in round 2, working set / private (KiB)" \
    "$((growth[0] / 1024)) / $((growth[1] / 1024))" \
    "$((floor_growth[0] / 1024)) / $((floor_growth[1] / 1024))" "-" "none (<= 64 KiB)" "$met"
}

# --- 3. Size -----------------------------------------------------------------------------------

# Bytes each archive (or object) brings into the unstripped program, from the linker map.
size_by_input() {  # MAP_FILE
  awk '
    function hex(s,   i, n) {
      n = 0; s = tolower(substr(s, 3))
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    /^Linker script and memory map/ { inside = 1; next }
    !inside { next }
    /^ \.[^ ]+ *$/ { pending = $1; next }
    {
      section = ""
      if (pending != "" && $1 ~ /^0x/ && $2 ~ /^0x/ && NF >= 3) { section = pending; size = $2; file = $3 }
      else if ($1 ~ /^\./ && $2 ~ /^0x/ && $3 ~ /^0x/ && NF >= 4) { section = $1; size = $3; file = $4 }
      pending = ""
      if (section == "" || section ~ /^\.debug/) next
      member = file; sub(/.*\//, "", member)
      archive = member; sub(/\(.*/, "", archive)
      by_archive[archive] += hex(size)
      if (member ~ /\(/) by_member[member] += hex(size)
    }
    END {
      for (a in by_archive) printf "%8d  %s\n", by_archive[a], a
      for (m in by_member) printf "%8d    %s\n", by_member[m], m
    }' "$1"
}

bench_size() {
  echo "size"
  local p f
  p=$(stat -c %s "$BUILD/yomitron.exe")
  f=$(stat -c %s "$BUILD/bench/floor.exe")
  row "Size of yomitron.exe, stripped, static (KiB)" "$((p / 1024))" "$((f / 1024))" \
    "$(printf '%.1f x' "$(calc "$p / $f")")" "<= 400 KiB" "$(yes_no "$p <= 400 * 1024")"
  local map=$BUILD/bench/yomitron_unstripped.map
  if [[ -f $map ]]; then
    note "bytes in the program by archive (and the largest archive members), from the linker map:"
    size_by_input "$map" | sort -rn | sed -n 1,16p >>"$DETAILS"
  fi
}

# --- 4. Resize ---------------------------------------------------------------------------------

bench_resize() {
  echo "resize: 10000 readout resizes and 1000 window resizes each, in process"
  local out rc=0
  out=$(cd "$WORK" && wine "$RESIZE_BENCH" 10000 1000 </dev/null | tr -d '\r') || rc=$?
  note "resize_bench (exit $rc):"
  note "$out"
  local who p f
  for who in readout window; do
    p=$(value "program_${who}_us" "$out")
    f=$(value "floor_${who}_us" "$out")
    local what="Resize: readout (FormResize + repaint, us)"
    [[ $who == window ]] && what="Resize: whole window (SetWindowPos + repaint, us)"
    row "$what" "$p" "$f" "$(printf '%.2f x' "$(calc "$p / $f")")" "< 1000 us" \
      "$(yes_no "$p < 1000")"
  done
  local replaced surviving kept gdi user
  replaced=$(value fonts_replaced "$out")
  surviving=$(value fonts_surviving "$out")
  kept=$(value fonts_kept "$out")
  gdi=$(value program_readout_gdi "$out")
  user=$(value program_readout_user "$out")
  local met=NO
  local private
  private=$(value program_readout_private "$out")
  if [[ ${gdi% *} == "${gdi#* }" && ${user% *} == "${user#* }" && ${private% *} == "${private#* }" ]]
  then
    met=yes
  fi
  row "Resize: replaced fonts deleted" "$((replaced - surviving)) of $replaced" "-" "-" \
    "all" "$([[ $surviving == 0 && $kept == 0 ]] && echo yes || echo NO)"
  row "Resize: GDI, USER objects; private KiB growth" \
    "${gdi// /->}, ${user// /->}; $(((${private#* } - ${private% *}) / 1024))" "-" "-" \
    "flat" "$met"
}

# --- 5. Tap accuracy ---------------------------------------------------------------------------

# Plays COUNT taps INTERVAL_MS apart as real X input at the readout's centre, reading the
# readout after each (well before the next tap). Appends "injected_ms readout" lines to FILE.
tap_series() {  # INTERVAL_MS COUNT FILE
  local interval=$1 count=$2 file=$3 i t0 target text previous=
  xdotool key --delay 0 Escape
  pause 1
  now_us
  t0=$((NOW_US + 200000))
  for ((i = 0; i < count; i++)); do
    target=$((t0 + i * interval * 1000))
    sleep_until "$target"
    local tapped=$NOW_US
    xdotool mousedown 1 mouseup 1
    sleep_until $((target + 150000))
    text=$(wine "$PROBE" readout </dev/null 2>/dev/null) || text="?"
    now_us
    if ((i + 1 < count && NOW_US > target + interval * 1000 - 200000)); then
      note "tap series $interval ms: reading $i ended less than 200 ms before the next tap"
    fi
    if [[ -n $previous ]]; then
      printf '%s %s\n' "$(calc "($tapped - $previous) / 1000")" "$text" >>"$file"
    else
      printf 'first %s\n' "$text" >>"$file"
    fi
    previous=$tapped
  done
}

# Runs the three series against EXE (alone on the display); their lines go to FILE_PREFIX.N.
tap_runs() {  # EXE EXE_NAME FILE_PREFIX
  start "$1"
  local pid=$STARTED
  wait_ready "$2"
  local rect
  mapfile -t rect < <(wine "$PROBE" rect </dev/null)
  local -a label
  read -r -a label <<<"${rect[2]}"
  xdotool mousemove $(((label[0] + label[2]) / 2)) $(((label[1] + label[3]) / 2))
  pause 0.5
  local interval
  for interval in 750 900 1800; do
    : >"$3.$interval"
    tap_series "$interval" 30 "$3.$interval"
  done
  close_program "$2" "$pid"
}

# Judges the readings of one program: within ±1 km/h of the exact speed, and the interval it
# measured against the one injected (as timed on the Linux side just before each tap). The
# program's measured interval comes from the speed it shows, so it is in whole km/h steps; the
# floor shows milliseconds. The speed rule is the program's: the last interval, or above
# 60 km/h the mean of the last two.
tap_judge() {  # FILE_PREFIX floor|program: prints "good total rms_ms max_ms"
  local interval
  for interval in 750 900 1800; do
    awk -v T="$interval" -v kind="$2" '
      function round(x) { return x >= 0 ? int(x + 0.5) : -int(-x + 0.5) }
      $1 == "first" { before = 0; shown_before = 0; next }
      {
        injected = $1
        text = substr($0, index($0, " ") + 1)
        if (kind == "floor") {
          ms = text; sub(/ms$/, "", ms); ms += 0
          v = 90000 / ms
          if (v > 60 && shown_before > 0) v = 180000 / (ms + shown_before)
          shown_before = ms
          shown = round(v)
          deviation = ms - injected
        } else {
          shown = (text ~ /^ *[0-9]+Km\/h$/) ? text + 0 : -1
          expected = (shown > 60 && before > 0) ? (injected + before) / 2 : injected
          deviation = shown > 0 ? 90000 / shown - expected : 90000
        }
        before = injected
        print T, shown, deviation
      }' "$1.$interval"
  done | awk '
    { n++; exact = 90000 / $1; if ($2 >= exact - 1 && $2 <= exact + 1) good++
      d = $3; sum2 += d * d; if (d < 0) d = -d; if (d > max) max = d }
    END { printf "%d %d %.1f %.1f\n", good, n, n ? sqrt(sum2 / n) : 0, max }'
}

bench_taps() {
  echo "taps: 30 taps at 750, 900 and 1800 ms, real X input, program then floor (about 4 min)"
  tap_runs "$PROGRAM" yomitron.exe "$WORK/taps-program"
  tap_runs "$FLOOR" floor.exe "$WORK/taps-floor"
  local p f interval
  read -r -a p <<<"$(tap_judge "$WORK/taps-program" program)"
  read -r -a f <<<"$(tap_judge "$WORK/taps-floor" floor)"
  for interval in 750 900 1800; do
    note "readings at $interval ms, program: $(cut -d' ' -f2- "$WORK/taps-program.$interval" |
      tr -s ' ' | tr '\n' ',' | sed 's/,$//')"
    note "intervals injected at $interval ms (ms): $(cut -d' ' -f1 "$WORK/taps-program.$interval" |
      tr '\n' ' ')"
    note "readings at $interval ms, floor: $(cut -d' ' -f2- "$WORK/taps-floor.$interval" |
      tr '\n' ' ')"
  done
  local pp fp
  pp=$(calc "100 * ${p[0]} / ${p[1]}")
  fp=$(calc "100 * ${f[0]} / ${f[1]}")
  row "Taps within +-1 km/h (% of ${p[1]} readings)" "$(printf '%.1f' "$pp")" \
    "$(printf '%.1f' "$fp")" "$(printf '%+.1f points' "$(calc "$pp - $fp")")" ">= 95 %" \
    "$(yes_no "$pp >= 95")"
  row "Taps: interval measured - injected, RMS / max (ms)" "${p[2]} / ${p[3]}" \
    "${f[2]} / ${f[3]}" "-" "(program: from whole km/h)" "-"
}

# --- 6. Idle cost ------------------------------------------------------------------------------

# Context switches of all the threads of a process, without starting a process. Sets SWITCHES.
switches_of() {  # PID
  SWITCHES=0
  local status key count
  for status in /proc/"$1"/task/*/status; do
    while read -r key count; do
      case $key in
        voluntary_ctxt_switches: | nonvoluntary_ctxt_switches:) SWITCHES=$((SWITCHES + count)) ;;
      esac
    done <"$status" 2>/dev/null || true
  done
}

cpu_ticks_of() {  # PID: sets CPU_TICKS (user + system, in clock ticks)
  local stat
  read -r stat <"/proc/$1/stat"
  local -a fields
  read -r -a fields <<<"${stat##*) }"
  CPU_TICKS=$((fields[11] + fields[12]))
}

# Samples both processes every 25 ms for SECONDS. A wake-up is a sample period in which a
# process was switched after one in which it was not. Sets IDLE_<n> to
# "wakeups switches cpu_ms" for each PID, in order.
idle_sample() {  # SECONDS PID1 PID2
  local seconds=$1 a=$2 b=$3 hz
  hz=$(getconf CLK_TCK)
  local last_a last_b busy_a=0 busy_b=0 wake_a=0 wake_b=0 first_a first_b cpu_a cpu_b
  switches_of "$a"
  first_a=$SWITCHES last_a=$SWITCHES
  switches_of "$b"
  first_b=$SWITCHES last_b=$SWITCHES
  cpu_ticks_of "$a"
  cpu_a=$CPU_TICKS
  cpu_ticks_of "$b"
  cpu_b=$CPU_TICKS
  now_us
  local end=$((NOW_US + seconds * 1000000)) next=$NOW_US
  while ((NOW_US < end)); do
    next=$((next + 25000))
    sleep_until "$next"
    switches_of "$a"
    if ((SWITCHES > last_a)); then
      ((busy_a)) || wake_a=$((wake_a + 1))
      busy_a=1
    else
      busy_a=0
    fi
    last_a=$SWITCHES
    switches_of "$b"
    if ((SWITCHES > last_b)); then
      ((busy_b)) || wake_b=$((wake_b + 1))
      busy_b=1
    else
      busy_b=0
    fi
    last_b=$SWITCHES
  done
  local cpu_a2 cpu_b2
  cpu_ticks_of "$a"
  cpu_a2=$CPU_TICKS
  cpu_ticks_of "$b"
  cpu_b2=$CPU_TICKS
  IDLE_1="$wake_a $((last_a - first_a)) $(((cpu_a2 - cpu_a) * 1000 / hz))"
  IDLE_2="$wake_b $((last_b - first_b)) $(((cpu_b2 - cpu_b) * 1000 / hz))"
}

bench_idle() {
  echo "idle: program and floor side by side, 60 s with the clock, 55 s measuring"
  start "$PROGRAM"
  local program=$STARTED
  start "$FLOOR" 16 16
  local floor=$STARTED
  wait_ready yomitron.exe
  wait_ready floor.exe
  pause 3
  local clock_p clock_f measuring_p measuring_f
  idle_sample 60 "$program" "$floor"
  read -r -a clock_p <<<"$IDLE_1"
  read -r -a clock_f <<<"$IDLE_2"
  # One tap starts a measurement: the timer goes to 10 s, and the clock comes back a minute
  # after the tap; the window ends before that.
  wine "$MEMPROBE" tap yomitron.exe </dev/null >>"$LOG" 2>&1
  pause 1
  idle_sample 55 "$program" "$floor"
  read -r -a measuring_p <<<"$IDLE_1"
  read -r -a measuring_f <<<"$IDLE_2"
  note "idle, clock (60 s): program wake-ups ${clock_p[0]} switches ${clock_p[1]} cpu ${clock_p[2]} ms;" \
    "floor wake-ups ${clock_f[0]} switches ${clock_f[1]} cpu ${clock_f[2]} ms"
  note "idle, measuring (55 s): program wake-ups ${measuring_p[0]} switches ${measuring_p[1]}" \
    "cpu ${measuring_p[2]} ms; floor wake-ups ${measuring_f[0]} switches ${measuring_f[1]}" \
    "cpu ${measuring_f[2]} ms"
  close_program yomitron.exe "$program"
  close_program floor.exe "$floor"

  local pw fw
  pw=$(calc "${clock_p[0]} / 60")
  fw=$(calc "${clock_f[0]} / 60")
  row "Idle, clock: wake-ups per second" "$(printf '%.2f' "$pw")" "$(printf '%.2f' "$fw")" \
    "$(printf '%.2f x' "$(calc "$pw / $fw")")" "1 (0.9 - 1.1)" "$(yes_no "$pw >= 0.9 && $pw <= 1.1")"
  pw=$(calc "${measuring_p[0]} / 55")
  fw=$(calc "${measuring_f[0]} / 55")
  row "Idle, measuring: wake-ups per second" "$(printf '%.2f' "$pw")" "$(printf '%.2f' "$fw")" \
    "$(printf '%.2f x' "$(calc "$pw / $fw")")" "0.1 (0.07 - 0.13)" \
    "$(yes_no "$pw >= 0.07 && $pw <= 0.13")"
  row "Idle, clock: switches/s; CPU ms per minute" \
    "$(printf '%.1f; %d' "$(calc "${clock_p[1]} / 60")" "${clock_p[2]}")" \
    "$(printf '%.1f; %d' "$(calc "${clock_f[1]} / 60")" "${clock_f[2]}")" "-" "(for reference)" "-"
  row "Idle, measuring: switches/s; CPU ms per minute" \
    "$(printf '%.1f; %d' "$(calc "${measuring_p[1]} / 55")" "$((measuring_p[2] * 60 / 55))")" \
    "$(printf '%.1f; %d' "$(calc "${measuring_f[1]} / 55")" "$((measuring_f[2] * 60 / 55))")" \
    "-" "(for reference)" "-"
}

# --- Run ---------------------------------------------------------------------------------------

yomitron_ensure_packages
cmake --preset windows -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j 2 --target yomitron probe floor floor_imports memprobe startwatch resize_bench \
  yomitron_unstripped >/dev/null

mkdir -p "$WORK/program" "$WORK/floor"
rm -f "$WORK"/program/* "$WORK"/floor/* "$WORK"/taps-* "$LOG"
cp "$BUILD/yomitron.exe" "$PROGRAM"
cp "$BUILD/bench/floor.exe" "$FLOOR"
cp "$BUILD/bench/floor_imports.exe" "$FLOOR_IMPORTS"
{
  echo "bench/run.sh ${figures[*]}: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "$(. /etc/os-release && echo "$PRETTY_NAME"), $(wine --version 2>/dev/null)"
  echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$DETAILS"
exec {SLEEP_FD}<> <(:)
trap cleanup EXIT
yomitron_wine_up

for figure in "${figures[@]}"; do
  "bench_$figure"
done
note "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

{
  head -n 1 "$DETAILS"
  printf '%s\n' "figure|program|floor|comparison|goal|met" "${ROWS[@]}" | awk -F'|' '
    { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
    END {
      for (r = 1; r <= NR; r++) {
        line = ""
        for (i = 1; i < 6; i++) line = line sprintf("%-*s | ", width[i], cell[r, i])
        print line cell[r, 6]
      }
    }'
} | tee "$WORK/results.txt"
echo "details: $DETAILS"
