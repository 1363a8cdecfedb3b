#!/usr/bin/env bash
# Builds both presets and runs every test: the portable core natively (under ASan and UBSan),
# then the Windows build's tests under Wine in a private virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$YOMITRON_ROOT"

yomitron_ensure_packages
mkdir -p "$YOMITRON_BUILD"
trap yomitron_wine_down EXIT

status=0
summary=()

run_ctest() {  # preset
  local log="$YOMITRON_BUILD/ctest-$1.log"
  local rc=0 jobs=2
  [[ $1 == windows ]] && jobs=1  # GUI tests share one display
  ctest --test-dir "$YOMITRON_BUILD/$1" --output-on-failure --no-tests=error -j "$jobs" \
    --timeout 600 2>&1 | tee "$log" || rc=$?
  [[ ${PIPESTATUS[0]} -ne 0 ]] && rc=1
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [[ -n $line ]]; then
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    summary+=("$1:$((total - failed)):$failed")
  else
    summary+=("$1:0:1")
    rc=1
  fi
  return $rc
}

echo "== native build =="
cmake --preset native -B "$YOMITRON_BUILD/native" >/dev/null
cmake --build "$YOMITRON_BUILD/native" -j 2
run_ctest native || status=1

# The settings fuzz target, built with clang, for a bounded time; a finding fails the run and
# leaves the input that caused it in the build folder.
run_fuzz() {
  local dir="$YOMITRON_BUILD/fuzz" log="$YOMITRON_BUILD/fuzz.log" rc=0
  cmake -S fuzz -B "$dir" -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$dir" -j 2 || { summary+=("fuzz:0:1"); return 1; }
  mkdir -p "$dir/corpus"
  # A small ASan quarantine keeps the many small allocations cheap.
  ASAN_OPTIONS=quarantine_size_mb=16:max_malloc_fill_size=0 "$dir/settings_fuzz" "$dir/corpus" \
    fuzz/corpus/settings -max_total_time=20 -runs=500000 -max_len=8192 -artifact_prefix="$dir/" \
    -print_final_stats=1 >"$log" 2>&1 || rc=$?
  grep -E '^(Done|stat::(number_of_executed_units|new_units_added))' "$log" || true
  if [[ $rc -ne 0 ]]; then
    tail -n 40 "$log"
    summary+=("fuzz:0:1")
    return 1
  fi
  summary+=("fuzz:1:0")
}

echo "== fuzzing =="
run_fuzz || status=1

echo "== static analysis =="
if scripts/static-analysis.sh; then
  summary+=("static-analysis:1:0")
else
  summary+=("static-analysis:0:1")
  status=1
fi

echo "== windows build =="
cmake --preset windows -B "$YOMITRON_BUILD/windows" >/dev/null
cmake --build "$YOMITRON_BUILD/windows" -j 2
yomitron_wine_up
run_ctest windows || status=1

passed=0
failed=0
for entry in "${summary[@]}"; do
  IFS=: read -r name p f <<<"$entry"
  echo "$name: $p passed, $f failed"
  passed=$((passed + p))
  failed=$((failed + f))
done
echo "$passed passed, $failed failed"
exit $status
